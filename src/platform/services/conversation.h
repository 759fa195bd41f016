#pragma once

#include <string>

namespace tavren::services {

// A conversation with another program that executes command lines for us (the
// IRC client). Every failure is reported, never thrown; callers decide to ignore it.
class Conversation {
public:
    virtual ~Conversation() = default;
    // Opens (or re-opens) the conversation with a server program; false when no
    // program serves that application and topic. A conversation that opens in
    // the background answers true once the request is on its way, and reports
    // a failure to open to the diagnostics itself when it knows.
    virtual bool open(const std::string& application, const std::string& topic,
                      const std::string& item) = 0;
    // Hands the command text over exactly (UTF-8), in order, without waiting for
    // the peer. False when no conversation is open or the text cannot be sent.
    virtual bool execute(const std::string& command) = 0;
};

} // namespace tavren::services
