#pragma once

#include <string>

namespace tavren::backend::posix {

// Where the settings file lives: $XDG_CONFIG_HOME/tavren/QVRL2.ini, or
// ~/.config/tavren/QVRL2.ini. The same for every run, whatever the working
// directory. Null or relative variables count as unset.
std::string profilePath(const char* xdgConfigHome, const char* home);

// profilePath() for this process's environment (the password database stands in
// for a missing HOME).
std::string defaultProfilePath();

} // namespace tavren::backend::posix
