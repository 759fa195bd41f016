#pragma once

#include <QDBusVirtualObject>
#include <QString>

#include <cstdio>
#include <optional>

namespace tavren::link_monitor {

// The object a conversation's commands are addressed to. Each accepted command
// goes to the output exactly as received, then a newline, flushed at once.
class ConversationEndpoint : public QDBusVirtualObject {
public:
    struct Options {
        std::optional<QString> item; // accept only this item; any when empty
        bool neverAnswer = false;    // print, then leave the caller waiting
    };
    ConversationEndpoint(Options options, std::FILE* output);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    void print(const QString& command);

    Options options_;
    std::FILE* output_;
};

} // namespace tavren::link_monitor
