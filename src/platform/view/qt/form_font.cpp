#include "form_font.h"

#include <QApplication>
#include <QFontDatabase>

#include <cmath>

namespace tavren::view::qt {

QStringList FormFont::preferredFamilies() {
    return {QStringLiteral("Ume UI Gothic"), QStringLiteral("Noto Sans CJK JP"),
            QStringLiteral("Noto Sans JP"), QStringLiteral("IPAGothic"),
            QStringLiteral("VL Gothic")};
}

int FormFont::pixelSize(const TwipsScale& scale) {
    constexpr double twipsPerPoint = 20;
    return static_cast<int>(std::lround(kPointSize * twipsPerPoint / scale.perPixelY));
}

QFont FormFont::choose(const QStringList& installed, QFont fallback, const TwipsScale& scale) {
    QFont font = fallback;
    for (const QString& family : preferredFamilies()) {
        if (!installed.contains(family, Qt::CaseInsensitive)) continue;
        font = QFont(family);
        break;
    }
    font.setPixelSize(pixelSize(scale));
    return font;
}

QFont FormFont::ofSystem(const TwipsScale& scale) {
    return choose(QFontDatabase::families(), QApplication::font(), scale);
}

} // namespace tavren::view::qt
