#pragma once

#include "platform/controls/controls.h"
#include "platform/services/conversation.h"
#include "platform/services/diagnostics.h"

#include <string>

namespace tavren::delivery {

// The conversation with the IRC client (the hidden label DDETEXT marks its end
// point on the main window; it holds no state of its own). Every failure is
// ignored: the link is a courtesy, never in the way; it is only reported.
class IrcLink {
public:
    // Connects servername's change to servername_Change().
    IrcLink(controls::TextField& servername, services::Conversation& conversation,
            services::Diagnostics& diagnostics = services::NoDiagnostics::instance());

    // Opens the conversation and executes the announcement under the current
    // server name.
    void openAndAnnounce();
    // A new server name opens the link again and announces under that name.
    void servername_Change();
    // Executes one command on the conversation as last opened.
    bool LinkExecute(const std::string& command);

private:
    controls::TextField& servername_;
    services::Conversation& conversation_;
    services::Diagnostics& diagnostics_;
};

} // namespace tavren::delivery
