#pragma once

#include "text/caption_lines.h"

#include <QFont>
#include <QFontMetrics>

#include <string_view>
#include <utility>

namespace tavren::view::qt {

// Measures captions in one font family at any pixel size, for the rule that
// breaks and sizes captions.
class QtCaptionMetrics : public text::CaptionMetrics {
public:
    explicit QtCaptionMetrics(QFont font) : font_(std::move(font)) {}

    int lineWidth(std::string_view line, int pixelSize) const override;
    int lineHeight(int pixelSize) const override;

    // The font at that size.
    QFont at(int pixelSize) const;

private:
    QFontMetrics metricsAt(int pixelSize) const { return QFontMetrics(at(pixelSize)); }

    QFont font_;
};

} // namespace tavren::view::qt
