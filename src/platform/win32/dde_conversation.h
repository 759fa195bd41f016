#pragma once

#include "platform/services/conversation.h"

#include <windows.h>

#include <ddeml.h>

namespace tavren::win32 {

// The conversation with the IRC client over DDE, as a DDEML client. The IRC
// client is an ANSI program, so the conversation is ANSI too (DdeInitializeA,
// CF_TEXT): commands travel in the system's ANSI code page, byte for byte as
// the client expects them. A command with a character that the code page cannot
// hold is refused rather than sent altered. Every transaction is bounded by
// kTimeoutMs; a server that does not answer in time counts as a failure.
class DdeConversation : public services::Conversation {
public:
    static constexpr DWORD kTimeoutMs = 2000;

    explicit DdeConversation(unsigned codePage = CP_ACP);
    ~DdeConversation() override;
    DdeConversation(const DdeConversation&) = delete;
    DdeConversation& operator=(const DdeConversation&) = delete;

    bool open(const std::string& application, const std::string& topic,
              const std::string& item) override;
    bool execute(const std::string& command) override;

private:
    void disconnect();

    unsigned codePage_;
    DWORD instance_ = 0;
    HCONV conversation_ = nullptr;
};

} // namespace tavren::win32
