#pragma once

#include <QFont>
#include <QStringList>

namespace tavren::qt {

// The font the forms' designs were measured in: a 9 point Japanese user-interface
// font. Their captions were fitted to it; a larger or wider one clips them.
struct FormFont {
    static constexpr double kPointSize = 9;
    // Japanese-capable families, the first one installed wins.
    static QStringList preferredFamilies();

    // The first preferred family among `installed` at kPointSize, else `fallback`
    // (the system's default font) at kPointSize.
    static QFont choose(const QStringList& installed, QFont fallback);
    // The same, from the families installed on this system.
    static QFont ofSystem();
};

} // namespace tavren::qt
