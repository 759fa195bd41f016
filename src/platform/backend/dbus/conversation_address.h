#pragma once

#include <optional>
#include <string>

namespace tavren::backend::dbus {

// Where a conversation lives on the session bus. docs/ipc.md is the contract for
// the other end; keep the two in step.
inline constexpr const char* kConversationObjectPath = "/org/tavren/Conversation";
inline constexpr const char* kConversationInterface = "org.tavren.Conversation";
inline constexpr const char* kExecuteMethod = "Execute";
inline constexpr const char* kUnknownItemError = "org.tavren.Conversation.Error.UnknownItem";
// A question to the bus daemon waits at most this long, not the bus's default
// 25 seconds; commands to the peer are not waited for at all.
inline constexpr int kCallTimeoutMs = 2000;

// The well-known bus name serving (application, topic):
// "org.tavren.Conversation." + element(application) + "." + element(topic).
// An element keeps A-Z, 0-9 and "_", upper-cases a-z (the names compare without
// regard to case), and writes every other byte, and a leading digit, as "-" and
// two upper-case hex digits; an empty name becomes "-". Nothing when the result
// exceeds the bus's 255 characters.
std::optional<std::string> conversationBusName(const std::string& application,
                                               const std::string& topic);

} // namespace tavren::backend::dbus
