#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;

namespace tavren::qt {

// A caption laid out the way the classic controls draw theirs, so that it fits the
// rectangle the control was designed with: broken into lines at word boundaries
// (and between any two Japanese characters) to the width it is given, the lines
// one em apart rather than at the font's own, much looser, line spacing. A caption
// whose lines still do not fit the height is laid out at smaller sizes, down to
// kSmallestPixelSize, so that all of it stays readable where a font wider than the
// design's would otherwise push its end out of sight.
class WrappedCaption {
public:
    static constexpr int kSmallestPixelSize = 8;

    WrappedCaption(const QString& text, const QFont& font, QSize box);

    const QFont& font() const { return font_; }
    const QStringList& lines() const { return lines_; }
    // Distance between the tops of two lines.
    int linePitch() const { return pitch_; }
    // From the top of the first line to the bottom of the last one.
    int height() const;
    // Whether every line fits the box, in both directions.
    bool fits() const { return fits_; }

    // The rectangle the lines take when drawn in `area` as `alignment` says.
    QRect boundingRect(const QRect& area, Qt::Alignment alignment) const;

    // Draws the lines in `area` with the painter's pen, each line aligned
    // horizontally and the block of lines vertically as `alignment` says.
    void draw(QPainter& painter, const QRect& area, Qt::Alignment alignment) const;

private:
    void layOut(const QString& text, int width);
    int top(const QRect& area, Qt::Alignment alignment) const;
    int left(const QRect& area, Qt::Alignment alignment, int lineWidth) const;

    QFont font_;
    QStringList lines_;
    int pitch_ = 0;
    int ascent_ = 0;
    bool fits_ = false;
};

} // namespace tavren::qt
