#pragma once

#include <optional>
#include <string>

namespace tavren::program {

// What works when Tavren runs in a Wayland session, where it is an X11
// program under XWayland, as the --verbose log says it at start-up; nothing
// in an X11 session. Told from the session's variables: WAYLAND_DISPLAY set,
// or XDG_SESSION_TYPE "wayland".
std::optional<std::string> waylandSessionNotice(const std::string& waylandDisplay,
                                                const std::string& sessionType);

} // namespace tavren::program
