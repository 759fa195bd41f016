#include "xdg_profile_path.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace tavren::backend::posix {

namespace {

constexpr const char* kFileName = "tavren/QVRL2.ini";

bool isAbsolute(const char* p) {
    return p != nullptr && p[0] == '/';
}

} // namespace

std::string profilePath(const char* xdgConfigHome, const char* home) {
    if (isAbsolute(xdgConfigHome)) return std::string(xdgConfigHome) + "/" + kFileName;
    if (isAbsolute(home)) return std::string(home) + "/.config/" + kFileName;
    // Nowhere sensible to put it: a per-user place that does not depend on the
    // working directory.
    return "/tmp/tavren-" + std::to_string(::getuid()) + "/" + kFileName;
}

std::string defaultProfilePath() {
    const char* home = std::getenv("HOME");
    if (!isAbsolute(home)) {
        if (const passwd* pw = ::getpwuid(::getuid())) home = pw->pw_dir;
    }
    return profilePath(std::getenv("XDG_CONFIG_HOME"), home);
}

} // namespace tavren::backend::posix
