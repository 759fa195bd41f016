#include "session_bus_address.h"

#include <cstdlib>
#include <filesystem>

namespace tavren::backend::dbus {

namespace {

// Address values escape every byte outside this set as %XX.
std::string escapeAddressValue(const std::string& value) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '/' || c == '.' ||
                           c == '\\' || c == '*';
        if (plain) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

} // namespace

std::string sessionBusAddress() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address)
        return address;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        const auto socket = std::filesystem::path(runtime) / "bus";
        std::error_code error;
        if (std::filesystem::is_socket(socket, error))
            return "unix:path=" + escapeAddressValue(socket.string());
    }
    return {};
}

} // namespace tavren::backend::dbus
