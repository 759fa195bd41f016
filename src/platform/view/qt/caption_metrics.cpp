#include "caption_metrics.h"

namespace tavren::view::qt {

int QtCaptionMetrics::lineWidth(std::string_view line, int pixelSize) const {
    return metricsAt(pixelSize).horizontalAdvance(
        QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
}

int QtCaptionMetrics::lineHeight(int pixelSize) const {
    return metricsAt(pixelSize).height();
}

QFont QtCaptionMetrics::at(int pixelSize) const {
    QFont font = font_;
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace tavren::view::qt
