#pragma once

#include "conversation_endpoint.h"

#include <QDBusConnection>
#include <QString>

#include <optional>

namespace tavren::conversation_server {

// Connects to the session bus (found as Tavren finds it), exports the endpoint
// and takes the conversation's name without queueing behind another owner.
// Nothing, after a message on standard error naming the program, when any step
// fails.
std::optional<QDBusConnection> serveConversation(const char* program, const QString& application,
                                                 const QString& topic,
                                                 ConversationEndpoint& endpoint);

} // namespace tavren::conversation_server
