#include "client_command.h"

#include "text/ascii_case.h"

namespace tavren::irc_bridge {

bool ClientCommand::forCurrentServer() const {
    return server.empty() || text::equalsIgnoringAsciiCase(server, "Text1");
}

std::vector<std::string> ClientCommand::piecesAroundChannel() const {
    std::vector<std::string> pieces;
    const std::string mark = kCurrentChannel;
    std::size_t start = 0;
    for (auto at = line.find(mark); at != std::string::npos; at = line.find(mark, start)) {
        pieces.push_back(line.substr(start, at - start));
        start = at + mark.size();
    }
    pieces.push_back(line.substr(start));
    return pieces;
}

std::string ClientCommand::lineFor(const std::string& channel) const {
    const auto pieces = piecesAroundChannel();
    std::string out = pieces.front();
    for (std::size_t i = 1; i < pieces.size(); ++i)
        out += channel + pieces[i];
    return out;
}

std::optional<ClientCommand> parseClientCommand(const std::string& command) {
    ClientCommand parsed;
    const auto comma = command.find(',');
    std::string line = command;
    if (comma != std::string::npos) {
        parsed.server = command.substr(0, comma);
        line = command.substr(comma + 1);
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    if (line.empty() || line.find_first_of("\r\n") != std::string::npos) return std::nullopt;

    if (line.front() != '/') {
        parsed.line = std::string("msg ") + ClientCommand::kCurrentChannel + " " + line;
        return parsed;
    }
    line.erase(0, 1);
    const auto nameEnd = line.find(' ');
    const auto name = line.substr(0, nameEnd);
    if (name.empty()) return std::nullopt;
    // Neither client has a command of that name; both have "msg", which takes
    // the rest of the line as the text, as the IRC message itself does.
    if (text::equalsIgnoringAsciiCase(name, "privmsg"))
        line = "msg" + (nameEnd == std::string::npos ? std::string() : line.substr(nameEnd));
    parsed.line = line;
    return parsed;
}

} // namespace tavren::irc_bridge
