#include "dde_conversation.h"

#include "wide_text.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tavren::win32 {

namespace {

// DDEML's callbacks and thread timers carry no pointer of ours: each finds its
// conversation here. Both only ever run on the thread that made it.
thread_local std::vector<DdeConversation*> liveConversations;

// A DDE string handle, freed on every way out.
class StringHandle {
public:
    StringHandle(DWORD instance, const std::string& text)
        : instance_(instance),
          handle_(::DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {}
    ~StringHandle() {
        if (handle_ != nullptr) ::DdeFreeStringHandle(instance_, handle_);
    }
    StringHandle(const StringHandle&) = delete;
    StringHandle& operator=(const StringHandle&) = delete;
    HSZ get() const { return handle_; }

private:
    DWORD instance_;
    HSZ handle_;
};

// Whether a conversation still has its server at the other end.
bool stillConnected(HCONV conversation) {
    CONVINFO info{};
    info.cb = sizeof info;
    if (::DdeQueryConvInfo(conversation, QID_SYNC, &info) == 0) return false;
    return (info.wStatus & ST_CONNECTED) != 0 && ::IsWindow(info.hwndPartner);
}

} // namespace

DdeConversation::DdeConversation(services::Diagnostics& diagnostics, unsigned codePage)
    : diagnostics_(diagnostics), codePage_(codePage) {
    if (::DdeInitializeA(&instance_, callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        instance_ = 0;
    liveConversations.push_back(this);
}

DdeConversation::~DdeConversation() {
    endConversation();
    std::erase(liveConversations, this);
    // Uninitializing asks every conversation still open to end, and would wait
    // for a silent client.
    if (instance_ != 0 && !leftOpen_) ::DdeUninitialize(instance_);
}

HDDEDATA CALLBACK DdeConversation::callback(UINT type, UINT, HCONV conversation, HSZ, HSZ,
                                            HDDEDATA data, ULONG_PTR first, ULONG_PTR) {
    for (DdeConversation* self : liveConversations) {
        if (self->conversation_ != conversation || conversation == nullptr) continue;
        // A client that ends the conversation leaves its command unanswered:
        // the time-out reports it, and the next ones fail to go out.
        if (type == XTYP_XACT_COMPLETE && self->sent_ && self->sent_->transaction == first)
            self->answered(data != nullptr);
    }
    return nullptr;
}

void CALLBACK DdeConversation::timedOut(HWND, UINT, UINT_PTR timer, DWORD) {
    for (DdeConversation* self : liveConversations) {
        if (self->sent_ && self->sent_->timer == timer) {
            self->clientSilent_ = true;
            self->giveUp();
            return;
        }
    }
}

void DdeConversation::report(const std::string& why, const Command& command) {
    diagnostics_.report({services::IgnoredFailure::CommandNotExecuted, why + ": " + command.text});
}

bool DdeConversation::open(const std::string& application, const std::string& topic,
                           const std::string& /*item*/) {
    // Executes name no item; the conversation is the application and topic.
    // The same conversation, still connected, is kept: commands handed over
    // before stay in their turn, and a silent client is not asked to end it.
    if (conversation_ != nullptr && application == application_ && topic == topic_ &&
        stillConnected(conversation_))
        return true;
    endConversation();
    if (instance_ == 0) return false;
    const auto app = utf8ToCodePage(application, codePage_);
    const auto subject = utf8ToCodePage(topic, codePage_);
    if (!app || !subject) return false;
    const StringHandle service(instance_, *app);
    const StringHandle name(instance_, *subject);
    if (service.get() == nullptr || name.get() == nullptr) return false;
    conversation_ = ::DdeConnect(instance_, service.get(), name.get(), nullptr);
    if (conversation_ == nullptr) return false;
    application_ = application;
    topic_ = topic;
    return true;
}

bool DdeConversation::execute(const std::string& command) {
    if (conversation_ == nullptr) return false;
    const std::optional<std::string> bytes = utf8ToCodePage(command, codePage_);
    if (!bytes) return false;
    Command entry{*bytes + '\0', command}; // CF_TEXT is a NUL-terminated string
    if (sent_) {
        if (waiting_.size() >= kMaxWaiting) return false;
        waiting_.push_back(std::move(entry));
        return true;
    }
    return send(std::move(entry));
}

bool DdeConversation::send(Command command) {
    DWORD transaction = 0;
    const HDDEDATA handedOver = ::DdeClientTransaction(
        reinterpret_cast<LPBYTE>(command.bytes.data()), static_cast<DWORD>(command.bytes.size()),
        conversation_, nullptr, CF_TEXT, XTYP_EXECUTE, TIMEOUT_ASYNC, &transaction);
    if (handedOver == nullptr) return false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kTimeoutMs, timedOut);
    sent_ = Sent{std::move(command), transaction, timer};
    return true;
}

void DdeConversation::answered(bool accepted) {
    clientSilent_ = false;
    if (!accepted) report("refused by the IRC client", sent_->command);
    finishSent();
    sendWaiting();
}

void DdeConversation::giveUp() {
    report("not answered within " + std::to_string(kTimeoutMs / 1000) + " s", sent_->command);
    finishSent();
    sendWaiting();
}

void DdeConversation::finishSent() {
    ::KillTimer(nullptr, sent_->timer);
    // DDEML keeps an asynchronous transaction until it is abandoned, answered
    // or not, and Wine matches every answer against the oldest one it keeps.
    // All of the conversation's are abandoned (0): there is only ever this one,
    // and Wine does not find it by the identifier it gave for it (measured).
    ::DdeAbandonTransaction(instance_, conversation_, 0);
    sent_.reset();
}

void DdeConversation::sendWaiting() {
    while (!sent_ && !waiting_.empty()) {
        Command next = std::move(waiting_.front());
        waiting_.pop_front();
        if (!send(next)) report("not handed over, the conversation has ended", next);
    }
}

void DdeConversation::endConversation() {
    for (const Command& command : waiting_)
        report("not handed over, the conversation was closed", command);
    waiting_.clear();
    const bool clientOwesAnswer = clientSilent_ || sent_;
    if (sent_) {
        // Already on its way: the client may still execute it.
        ::KillTimer(nullptr, sent_->timer);
        sent_.reset();
    }
    if (conversation_ != nullptr) {
        if (clientOwesAnswer)
            leftOpen_ = true;
        else
            ::DdeDisconnect(conversation_);
    }
    conversation_ = nullptr;
    clientSilent_ = false;
}

} // namespace tavren::win32
