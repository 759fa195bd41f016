#include "wrapped_caption.h"

#include "caption_metrics.h"

#include "text/caption_lines.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

namespace tavren::view::qt {

WrappedCaption::WrappedCaption(const QString& text, const QFont& font, QSize box) {
    const QtCaptionMetrics metrics(font);
    const text::CaptionFit fit = text::fitCaption(text.toStdString(), box.width(), box.height(),
                                                  QFontInfo(font).pixelSize(), metrics);
    font_ = metrics.at(fit.pixelSize);
    for (const std::string& line : fit.lines)
        lines_.push_back(QString::fromStdString(line));
    pitch_ = fit.lineHeight;
    ascent_ = QFontMetrics(font_).ascent();
    fits_ = fit.fits;
}

int WrappedCaption::height() const {
    return static_cast<int>(lines_.size()) * pitch_;
}

// A block centred in an odd pixel leaves the spare pixel above it: some glyphs
// (the voicing marks of kana) reach a pixel above the font's ascent.
int WrappedCaption::top(const QRect& area, Qt::Alignment alignment) const {
    if (alignment & Qt::AlignVCenter) return area.top() + (area.height() - height() + 1) / 2;
    if (alignment & Qt::AlignBottom) return area.top() + area.height() - height();
    return area.top();
}

int WrappedCaption::left(const QRect& area, Qt::Alignment alignment, int lineWidth) const {
    if (alignment & Qt::AlignHCenter) return area.left() + (area.width() - lineWidth) / 2;
    if (alignment & Qt::AlignRight) return area.left() + area.width() - lineWidth;
    return area.left();
}

QList<QRect> WrappedCaption::lineRects(const QRect& area, Qt::Alignment alignment) const {
    const QFontMetrics metrics(font_);
    QList<QRect> rects;
    int lineTop = top(area, alignment);
    for (const QString& line : lines_) {
        const int width = metrics.horizontalAdvance(line);
        rects.push_back(QRect(left(area, alignment, width), lineTop, width, pitch_));
        lineTop += pitch_;
    }
    return rects;
}

QRect WrappedCaption::boundingRect(const QRect& area, Qt::Alignment alignment) const {
    QRect bounds;
    for (const QRect& line : lineRects(area, alignment))
        bounds |= line;
    return bounds;
}

void WrappedCaption::draw(QPainter& painter, const QRect& area, Qt::Alignment alignment) const {
    painter.save();
    painter.setFont(font_);
    const QList<QRect> rects = lineRects(area, alignment);
    for (qsizetype i = 0; i < rects.size(); ++i)
        painter.drawText(QPoint(rects[i].left(), rects[i].top() + ascent_), lines_[i]);
    painter.restore();
}

} // namespace tavren::view::qt
