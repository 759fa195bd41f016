#pragma once

#include <QDBusVirtualObject>
#include <QString>

#include <functional>
#include <optional>

namespace tavren::conversation_server {

// The object a conversation's commands are addressed to. Each accepted command
// is answered, then handed to the handler, one at a time in the order received.
class ConversationEndpoint : public QDBusVirtualObject {
public:
    struct Options {
        std::optional<QString> item; // accept only this item; any when empty
        bool neverAnswer = false;    // hand over, then leave the caller waiting
    };
    using Handler = std::function<void(const QString& command)>;
    ConversationEndpoint(Options options, Handler handler);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    Options options_;
    Handler handler_;
};

} // namespace tavren::conversation_server
