#pragma once

#include "platform/services/conversation.h"
#include "platform/services/diagnostics.h"

#include <windows.h>

#include <ddeml.h>

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace tavren::win32 {

// The conversation with the IRC client over DDE, as a DDEML client. The IRC
// client is an ANSI program, so the conversation is ANSI too (DdeInitializeA,
// CF_TEXT): commands travel in the system's ANSI code page, byte for byte as
// the client expects them. A command with a character that the code page cannot
// hold is refused rather than sent altered.
//
// Commands are handed over without waiting for the IRC client: execute()
// returns once the command is on its way, so a client that is slow or hung
// never holds up start-up or a click. One command at a time is with the client
// and the rest wait their turn here, so they arrive in the order given. The
// answers come back through the thread's message loop; a refusal, a command
// not answered within kTimeoutMs, or one that could not be sent after the
// previous was answered goes to the diagnostics, since the caller has long
// been told yes.
//
// A client that did not answer is never asked to end the conversation: DDEML
// waits up to 10 s for the reply to that (measured under Wine), so such a
// conversation is left to end with the process.
class DdeConversation : public services::Conversation {
public:
    static constexpr DWORD kTimeoutMs = 2000;
    // Commands waiting behind the one with the client; more are refused.
    static constexpr std::size_t kMaxWaiting = 32;

    explicit DdeConversation(services::Diagnostics& diagnostics, unsigned codePage = CP_ACP);
    ~DdeConversation() override;
    DdeConversation(const DdeConversation&) = delete;
    DdeConversation& operator=(const DdeConversation&) = delete;

    bool open(const std::string& application, const std::string& topic,
              const std::string& item) override;
    bool execute(const std::string& command) override;

    // Commands handed over and not yet answered, refused or given up.
    std::size_t unanswered() const { return (sent_ ? 1 : 0) + waiting_.size(); }

private:
    struct Command {
        std::string bytes; // in the code page, NUL-terminated
        std::string text;  // as given, for the diagnostics
    };
    struct Sent {
        Command command;
        DWORD transaction;
        UINT_PTR timer;
    };

    static HDDEDATA CALLBACK callback(UINT type, UINT format, HCONV conversation, HSZ, HSZ,
                                      HDDEDATA data, ULONG_PTR first, ULONG_PTR second);
    static void CALLBACK timedOut(HWND, UINT, UINT_PTR timer, DWORD);

    bool send(Command command);
    void answered(bool accepted);
    void giveUp();
    void finishSent();
    void sendWaiting();
    void endConversation();
    void report(const std::string& why, const Command& command);

    services::Diagnostics& diagnostics_;
    unsigned codePage_;
    DWORD instance_ = 0;
    HCONV conversation_ = nullptr;
    std::string application_;
    std::string topic_;
    // Set once the client let a command go unanswered; cleared by its next answer.
    bool clientSilent_ = false;
    // A conversation left open because its client went silent: DDEML would wait
    // for it on the way out too.
    bool leftOpen_ = false;
    std::optional<Sent> sent_;
    std::deque<Command> waiting_;
};

} // namespace tavren::win32
