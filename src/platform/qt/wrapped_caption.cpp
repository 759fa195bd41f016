#include "wrapped_caption.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace tavren::qt {
namespace {

// The ink of Japanese glyphs reaches about 0.83 em above the baseline and hardly
// below it: with the baseline at 0.85 em, lines one em apart hold them whole, as
// the lines of the classic 12-pixel user-interface font do.
constexpr double kLineAscent = 0.85;

QString withLineSeparators(QString text) {
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}

QString withoutTrailingSpace(QString line) {
    while (!line.isEmpty() && (line.back().isSpace() || line.back() == QChar::LineSeparator))
        line.chop(1);
    return line;
}

} // namespace

WrappedCaption::WrappedCaption(const QString& text, const QFont& font, QSize box) : font_(font) {
    const QString caption = withLineSeparators(text);
    const int designSize = QFontInfo(font).pixelSize();
    for (int size = designSize;; --size) {
        font_.setPixelSize(size);
        layOut(caption, box.width());
        const bool widthFits = std::all_of(lines_.begin(), lines_.end(), [&](const QString& l) {
            return QFontMetrics(font_).horizontalAdvance(l) <= box.width();
        });
        fits_ = widthFits && height() <= box.height();
        if (fits_ || size <= std::min(designSize, kSmallestPixelSize)) return;
    }
}

void WrappedCaption::layOut(const QString& text, int width) {
    const int em = font_.pixelSize();
    pitch_ = em;
    ascent_ = static_cast<int>(std::lround(em * kLineAscent));
    lines_.clear();
    QTextLayout layout(text, font_);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(width, 1));
        lines_.push_back(withoutTrailingSpace(text.mid(line.textStart(), line.textLength())));
    }
    layout.endLayout();
}

int WrappedCaption::height() const {
    return static_cast<int>(lines_.size()) * pitch_;
}

int WrappedCaption::top(const QRect& area, Qt::Alignment alignment) const {
    if (alignment & Qt::AlignVCenter) return area.top() + (area.height() - height()) / 2;
    if (alignment & Qt::AlignBottom) return area.top() + area.height() - height();
    return area.top();
}

int WrappedCaption::left(const QRect& area, Qt::Alignment alignment, int lineWidth) const {
    if (alignment & Qt::AlignHCenter) return area.left() + (area.width() - lineWidth) / 2;
    if (alignment & Qt::AlignRight) return area.left() + area.width() - lineWidth;
    return area.left();
}

QRect WrappedCaption::boundingRect(const QRect& area, Qt::Alignment alignment) const {
    const QFontMetrics metrics(font_);
    QRect bounds;
    int lineTop = top(area, alignment);
    for (const QString& line : lines_) {
        const int width = metrics.horizontalAdvance(line);
        bounds |= QRect(left(area, alignment, width), lineTop, width, pitch_);
        lineTop += pitch_;
    }
    return bounds;
}

void WrappedCaption::draw(QPainter& painter, const QRect& area, Qt::Alignment alignment) const {
    painter.save();
    painter.setFont(font_);
    const QFontMetrics metrics(font_);
    int lineTop = top(area, alignment);
    for (const QString& line : lines_) {
        const int x = left(area, alignment, metrics.horizontalAdvance(line));
        painter.drawText(QPoint(x, lineTop + ascent_), line);
        lineTop += pitch_;
    }
    painter.restore();
}

} // namespace tavren::qt
