#pragma once

#include <string>

namespace tavren::backend::dbus {

// The address of the user's session bus: $DBUS_SESSION_BUS_ADDRESS, else the
// per-user socket $XDG_RUNTIME_DIR/bus when it exists, else "" (no bus). Unlike
// the bus library's default this never autolaunches a bus daemon: starting one
// as a side effect of opening a link would be slow and outlive us.
std::string sessionBusAddress();

} // namespace tavren::backend::dbus
