#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// How a control's caption is broken into lines and sized to fit the control's
// rectangle. One rule for every view: each view only measures text in its own
// toolkit's font and pixels, and draws the lines it is given.
namespace tavren::text {

// Measures one line of text (UTF-8) in the caption's font at a pixel size.
class CaptionMetrics {
public:
    virtual ~CaptionMetrics() = default;
    // The advance of the line's text.
    virtual int lineWidth(std::string_view line, int pixelSize) const = 0;
    // The height one line needs, ascent plus descent. Lines are stacked at
    // this pitch: closer, the glyphs of neighbouring lines would collide.
    virtual int lineHeight(int pixelSize) const = 0;
};

// Breaks a caption into lines no wider than `width`, as `widthOf` measures them:
// at line breaks ("\n", "\r\n"), after spaces (which are dropped at the end of a
// line), and between two characters where one of them is Japanese (kana, kanji,
// full-width forms), except before closing brackets, small kana, "ー" and
// punctuation and after opening brackets, which stay with their neighbour. A
// Latin word is broken between its letters only when it does not fit a line on
// its own; every line holds at least one character. Runs of kanji are kept
// whole when an earlier break still fills half the line.
std::vector<std::string> breakCaption(std::string_view caption, int width,
                                      const std::function<int(std::string_view)>& widthOf);

struct CaptionFit {
    int pixelSize = 0;
    int lineHeight = 0;
    std::vector<std::string> lines;
    bool fits = false;

    int height() const { return static_cast<int>(lines.size()) * lineHeight; }
};

// Captions are designed at 9 points and never drawn below 7.5 points: Japanese
// text smaller than that loses the strokes that tell kanji apart. In pixels,
// for a caption font designed at `designPixelSize`.
int smallestCaptionPixelSize(int designPixelSize);

// The caption at the largest pixel size, from `designPixelSize` down to
// smallestCaptionPixelSize(designPixelSize), whose lines fit a box of `width` x
// `height` pixels. When none fits it is laid out at the smallest size with
// `fits` false: the view then shows the lines that fit and cuts the rest.
CaptionFit fitCaption(std::string_view caption, int width, int height, int designPixelSize,
                      const CaptionMetrics& metrics);

} // namespace tavren::text
