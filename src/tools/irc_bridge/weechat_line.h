#pragma once

#include "client_command.h"

#include <optional>
#include <string>

namespace tavren::irc_bridge {

// The line to write into a WeeChat's FIFO for one command: run in the buffer of
// the named server ("irc.server.NAME"), or in WeeChat's current buffer when no
// server is named. A line with "$#" is handed to WeeChat's /eval, which puts in
// the channel of the current buffer when that belongs to the server, else the
// server's first channel; every piece of the command's own text travels
// hex-encoded there, so nothing in it is ever evaluated.
std::string weechatFifoLine(const ClientCommand& command, const std::optional<std::string>& server);

// How many of WeeChat's servers the search for a server's first channel walks.
inline constexpr int kWeeChatServersSearched = 8;

} // namespace tavren::irc_bridge
