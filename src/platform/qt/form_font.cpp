#include "form_font.h"

#include <QApplication>
#include <QFontDatabase>

namespace tavren::qt {

QStringList FormFont::preferredFamilies() {
    return {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"),
            QStringLiteral("IPAGothic"), QStringLiteral("VL Gothic")};
}

QFont FormFont::choose(const QStringList& installed, QFont fallback) {
    for (const QString& family : preferredFamilies()) {
        if (!installed.contains(family, Qt::CaseInsensitive)) continue;
        QFont font(family);
        font.setPointSizeF(kPointSize);
        return font;
    }
    fallback.setPointSizeF(kPointSize);
    return fallback;
}

QFont FormFont::ofSystem() {
    return choose(QFontDatabase::families(), QApplication::font());
}

} // namespace tavren::qt
