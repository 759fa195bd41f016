#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavren::irc_bridge {

// One command of the conversation, taken apart: "server,/command line".
struct ClientCommand {
    // The text before the first comma: which of the client's servers the line
    // is for. Empty, or "Text1" (what Tavren sends when the order file names no
    // server), means the client's current server.
    std::string server;
    // The command line without its leading "/" and without trailing CR and LF,
    // as the clients take it ("nick WS_Taro", "msg $# Connect.... OK").
    std::string line;

    bool forCurrentServer() const;
    bool namesChannel() const { return line.find(kCurrentChannel) != std::string::npos; }
    // The line cut at every "$#": n + 1 pieces for n marks.
    std::vector<std::string> piecesAroundChannel() const;
    // The line with every "$#" replaced by the channel.
    std::string lineFor(const std::string& channel) const;

    static constexpr const char* kCurrentChannel = "$#";
};

// Nothing for a command with no line, or with a line break inside the line (a
// client would send the rest to the server as a raw line of its own). PRIVMSG
// is "msg" to both clients; text without a leading "/" is a message to "$#".
std::optional<ClientCommand> parseClientCommand(const std::string& command);

} // namespace tavren::irc_bridge
