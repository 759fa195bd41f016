#include "conversation_address.h"

namespace tavren::backend::dbus {

namespace {

constexpr std::size_t kMaxBusNameLength = 255;

std::string hexEscape(unsigned char byte) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    return {'-', kHex[byte >> 4], kHex[byte & 0xF]};
}

// "-" never appears in an element except to start an escape, so the mapping is
// one-to-one up to letter case.
std::string busNameElement(const std::string& name) {
    if (name.empty()) return "-";
    std::string element;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const bool digit = c >= '0' && c <= '9';
        if (c >= 'a' && c <= 'z')
            element += static_cast<char>(c - 'a' + 'A');
        else if ((c >= 'A' && c <= 'Z') || c == '_' || (digit && i > 0))
            element += static_cast<char>(c);
        else
            element += hexEscape(c); // bus name elements may not start with a digit
    }
    return element;
}

} // namespace

std::optional<std::string> conversationBusName(const std::string& application,
                                               const std::string& topic) {
    std::string name = std::string(kConversationInterface) + "." + busNameElement(application) +
                       "." + busNameElement(topic);
    if (name.size() > kMaxBusNameLength) return std::nullopt;
    return name;
}

} // namespace tavren::backend::dbus
