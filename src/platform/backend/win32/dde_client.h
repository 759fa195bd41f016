#pragma once

#include "dde_mailbox.h"

#include <windows.h>

#include <ddeml.h>

#include <deque>
#include <optional>
#include <string>

namespace tavren::backend::win32 {

// The DDEML client that talks to the IRC client, on the DDE thread. DDEML
// ties an instance, its conversations, callbacks and answers to the thread
// that made it, so this object is made, used and ended on that thread only.
//
// Requests are carried out in the order asked: an open once the command
// before it is settled, an execute as an asynchronous transaction, one at a
// time with the client, so that commands arrive in the order given. The
// answer comes back through the thread's message loop; a command not
// answered within kTimeoutMs is given up, and the next one gets its turn.
//
// An open that finds no server is reported with the command handed over
// after it, which it loses, in one line; on its own only when no command
// follows before the next open or the end.
//
// A client that did not answer is never asked to end the conversation:
// DDEML waits up to 10 s for the reply to that (measured under Wine), so
// such a conversation, and the DDEML instance with it, is left to end with
// the process.
class DdeClient {
public:
    static constexpr DWORD kTimeoutMs = 2000;

    explicit DdeClient(DdeMailbox& mailbox);
    ~DdeClient();
    DdeClient(const DdeClient&) = delete;
    DdeClient& operator=(const DdeClient&) = delete;

    // Takes the requests waiting in the mailbox and carries out what it can.
    void takeRequests();

private:
    struct Sent {
        DdeExecute command;
        DWORD transaction;
        UINT_PTR timer;
    };

    static HDDEDATA CALLBACK callback(UINT type, UINT format, HCONV conversation, HSZ, HSZ,
                                      HDDEDATA data, ULONG_PTR first, ULONG_PTR second);
    static void CALLBACK timedOut(HWND, UINT, UINT_PTR timer, DWORD);

    void proceed();
    void connect(const DdeOpen& open);
    void send(DdeExecute command);
    void answered(bool accepted);
    void giveUp();
    void finishSent();
    void endConversation();
    void reportFailedOpen();
    void toldOpen(HWND partner);
    void toldExecuted(const DdeExecute& command, const std::string& failure = {});

    DdeMailbox& mailbox_;
    DWORD instance_ = 0;
    HCONV conversation_ = nullptr;
    std::string application_;
    std::string topic_;
    // Set once the client let a command go unanswered; cleared by its next answer.
    bool clientSilent_ = false;
    // A conversation left open because its client went silent: DDEML would wait
    // for it on the way out too.
    bool leftOpen_ = false;
    // Why the last open failed, until reported.
    std::optional<std::string> failedOpen_;
    std::optional<Sent> sent_;
    std::deque<DdeRequest> waiting_;
};

} // namespace tavren::backend::win32
