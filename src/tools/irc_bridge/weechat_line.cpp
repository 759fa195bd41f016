#include "weechat_line.h"

namespace tavren::irc_bridge {

namespace {

std::string decoded(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string hex;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        hex += kHex[c >> 4];
        hex += kHex[c & 0xF];
    }
    return "${base_decode:16," + hex + "}";
}

// The window in front and its buffer's IRC variables (server, type, channel).
const std::string kCurrent = "window[gui_current_window].buffer.local_variables";

// The first channel of the server whose name the expression `server` gives:
// the servers are walked in WeeChat's order, one nested condition each.
std::string firstChannelOf(const std::string& server) {
    std::string expression, closing, node = "irc_server[irc_servers]";
    for (int i = 0; i < kWeeChatServersSearched; ++i) {
        expression += "${if:${" + node + ".name}==" + server + "?${" + node + ".channels.name}:";
        closing += "}";
        node += ".next_server";
    }
    return expression + closing;
}

std::string channelOf(const std::string& server) {
    return "${if:${" + kCurrent + ".server}==" + server + " && ${" + kCurrent +
           ".type}==channel?${" + kCurrent + ".channel}:" + firstChannelOf(server) + "}";
}

} // namespace

std::string weechatFifoLine(const ClientCommand& command,
                            const std::optional<std::string>& server) {
    const std::string buffer = server ? "irc.server." + *server + " " : "";
    if (!command.namesChannel()) return buffer + "*/" + command.line;

    const std::string serverExpression = server ? decoded(*server) : "${" + kCurrent + ".server}";
    const auto channel = channelOf(serverExpression);
    const auto pieces = command.piecesAroundChannel();
    std::string expression = decoded("/" + pieces.front());
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        expression += channel;
        if (!pieces[i].empty()) expression += decoded(pieces[i]);
    }
    return buffer + "*/eval " + expression;
}

} // namespace tavren::irc_bridge
