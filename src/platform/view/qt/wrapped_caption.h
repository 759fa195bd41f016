#pragma once

#include <QFont>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;

namespace tavren::view::qt {

// A caption laid out the way the classic controls draw theirs, so that it fits the
// rectangle the control was designed with: broken into lines and, when the lines
// do not fit at the font's size, made smaller as text::fitCaption decides (down to
// 7.5 points; below that the lines that do not fit are cut). Lines are stacked at
// the font's own height, ascent plus descent, so that no glyph reaches into the
// next line: a compact user-interface font is what makes two lines fit the
// designs' two-line boxes (see FormFont).
class WrappedCaption {
public:
    WrappedCaption(const QString& text, const QFont& font, QSize box);

    const QFont& font() const { return font_; }
    const QStringList& lines() const { return lines_; }
    // Distance between the tops of two lines: the font's height.
    int linePitch() const { return pitch_; }
    // From the top of the first line to the bottom of the last one.
    int height() const;
    // Whether every line fits the box, in both directions.
    bool fits() const { return fits_; }

    // Each line's box as drawn in `area`: its advance wide, the font's height high.
    QList<QRect> lineRects(const QRect& area, Qt::Alignment alignment) const;
    // The rectangle the lines take when drawn in `area` as `alignment` says.
    QRect boundingRect(const QRect& area, Qt::Alignment alignment) const;

    // Draws the lines in `area` with the painter's pen, each line aligned
    // horizontally and the block of lines vertically as `alignment` says.
    void draw(QPainter& painter, const QRect& area, Qt::Alignment alignment) const;

private:
    int top(const QRect& area, Qt::Alignment alignment) const;
    int left(const QRect& area, Qt::Alignment alignment, int lineWidth) const;

    QFont font_;
    QStringList lines_;
    int pitch_ = 0;
    int ascent_ = 0;
    bool fits_ = false;
};

} // namespace tavren::view::qt
