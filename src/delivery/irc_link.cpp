#include "irc_link.h"

namespace tavren::delivery {

namespace {
// The IRC client's end of the conversation, as it registers it: application and
// topic joined by a vertical bar, and the item every command is addressed to.
constexpr const char* kLinkTopic = "CHOCOA|SCRIPTEXEC_SEND";
constexpr const char* kLinkItem = "R1C1";
constexpr const char* kAnnouncement = "/privmsg $# Connect.... OK";
} // namespace

IrcLink::IrcLink(controls::TextField& servername, services::Conversation& conversation,
                 services::Diagnostics& diagnostics)
    : servername_(servername), conversation_(conversation), diagnostics_(diagnostics) {
    // The text field raises no change when set to the text it already holds, so
    // a server-name directive naming "Text1" announces nothing more.
    servername_.textChanged.connect([this] { servername_Change(); });
}

void IrcLink::openAndAnnounce() {
    // Every step runs whatever the previous one gave: with no IRC client the open
    // fails, the announcement is refused, and nobody is told.
    const std::string linkTopic = kLinkTopic;
    const auto bar = linkTopic.find('|');
    const std::string command = servername_.text() + "," + kAnnouncement;
    if (!conversation_.open(linkTopic.substr(0, bar), linkTopic.substr(bar + 1), kLinkItem)) {
        // One line for the whole attempt: the announcement's refusal follows
        // from the missing peer.
        diagnostics_.report(
            {services::IgnoredFailure::LinkNotOpened,
             std::string("no program serves ") + kLinkTopic + "; not announced: " + command});
        conversation_.execute(command);
        return;
    }
    LinkExecute(command);
}

void IrcLink::servername_Change() {
    openAndAnnounce();
}

bool IrcLink::LinkExecute(const std::string& command) {
    if (conversation_.execute(command)) return true;
    diagnostics_.report({services::IgnoredFailure::CommandNotExecuted,
                         "refused, not answered in time or no link: " + command});
    return false;
}

} // namespace tavren::delivery
