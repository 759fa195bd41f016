#pragma once

#include "dde_client.h"
#include "dde_mailbox.h"
#include "helper_thread.h"
#include "platform/services/conversation.h"
#include "platform/services/diagnostics.h"

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>

namespace tavren::backend::win32 {

// The conversation with the IRC client over DDE, as a DDEML client. The IRC
// client is an ANSI program, so the conversation is ANSI too (DdeInitializeA,
// CF_TEXT): commands travel in the system's ANSI code page, byte for byte as
// the client expects them. A command with a character that the code page cannot
// hold is refused rather than sent altered.
//
// Every DDE call runs on a thread of its own (DdeClient), never on the
// user-interface thread: opening a conversation asks every top-level window
// whether it serves it and waits for each to answer, so one program that has
// stopped reading its messages would freeze Tavren for as long as it sleeps.
// open() and execute() therefore hand their request over and return at once;
// the requests are carried out in the order given. What open() cannot know
// yet is reported when it is known: a conversation that did not open, a
// command refused, not answered within kTimeoutMs or not handed over goes to
// the diagnostics, on this thread, as this thread dispatches its messages.
// execute() refuses at once what it can tell at once: no conversation open
// nor being opened, or its server gone.
class DdeConversation : public services::Conversation {
public:
    static constexpr DWORD kTimeoutMs = DdeClient::kTimeoutMs;
    // Commands waiting behind the one with the client; more are refused.
    static constexpr std::size_t kMaxWaiting = 32;
    // How long ending waits for the DDE thread to end its conversation.
    static constexpr DWORD kEndWaitMs = 1000;

    explicit DdeConversation(services::Diagnostics& diagnostics, unsigned codePage = CP_ACP);
    ~DdeConversation() override;
    DdeConversation(const DdeConversation&) = delete;
    DdeConversation& operator=(const DdeConversation&) = delete;

    // True once the request to open is on its way; false when the names cannot
    // be written in the code page or there is no DDE thread.
    bool open(const std::string& application, const std::string& topic,
              const std::string& item) override;
    bool execute(const std::string& command) override;

    // Opens asked for whose outcome has not come back yet.
    std::size_t opening() const { return opening_; }
    // Commands handed over and not yet answered, refused or given up.
    std::size_t unanswered() const { return unanswered_; }

private:
    static LRESULT CALLBACK outcomesProc(HWND window, UINT message, WPARAM, LPARAM);
    void readOutcomes();
    void ask(DdeRequest request);

    services::Diagnostics& diagnostics_;
    unsigned codePage_;
    HWND outcomesWindow_ = nullptr;
    std::shared_ptr<DdeMailbox> mailbox_;
    std::size_t opening_ = 0;
    std::size_t unanswered_ = 0;
    // The server of the conversation last opened, null when none opened.
    HWND partner_ = nullptr;
    // Last: it ends, and its thread with it, before the rest goes.
    std::unique_ptr<MessageLoopThread> thread_;
};

} // namespace tavren::backend::win32
