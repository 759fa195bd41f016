#include "dde_client.h"

#include <utility>

namespace tavren::backend::win32 {

namespace {

// DDEML's callbacks and thread timers carry no pointer of ours; each thread
// has at most one client, which is theirs.
thread_local DdeClient* threadClient = nullptr;

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

// The server's window while the conversation still has its server at the
// other end, else null.
HWND connectedPartner(HCONV conversation) {
    CONVINFO info{};
    info.cb = sizeof info;
    if (::DdeQueryConvInfo(conversation, QID_SYNC, &info) == 0) return nullptr;
    if ((info.wStatus & ST_CONNECTED) == 0 || !::IsWindow(info.hwndPartner)) return nullptr;
    return info.hwndPartner;
}

} // namespace

DdeClient::DdeClient(DdeMailbox& mailbox) : mailbox_(mailbox) {
    if (::DdeInitializeA(&instance_, callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        instance_ = 0;
    threadClient = this;
}

DdeClient::~DdeClient() {
    for (DdeRequest& request : mailbox_.takeRequests())
        waiting_.push_back(std::move(request));
    for (const DdeRequest& request : waiting_) {
        if (const auto* command = std::get_if<DdeExecute>(&request))
            toldExecuted(*command, "not handed over, Tavren was ending");
        else
            toldOpen(nullptr);
    }
    waiting_.clear();
    reportFailedOpen();
    if (sent_) {
        // On its way: the client may still execute it, and owes an answer that
        // ending the conversation would wait for.
        ::KillTimer(nullptr, sent_->timer);
        clientSilent_ = true;
        sent_.reset();
    }
    endConversation();
    threadClient = nullptr;
    // Uninitializing asks every conversation still open to end, and would wait
    // for a silent client.
    if (instance_ != 0 && !leftOpen_) ::DdeUninitialize(instance_);
}

HDDEDATA CALLBACK DdeClient::callback(UINT type, UINT, HCONV conversation, HSZ, HSZ, HDDEDATA data,
                                      ULONG_PTR first, ULONG_PTR) {
    DdeClient* self = threadClient;
    if (self == nullptr || conversation == nullptr || conversation != self->conversation_)
        return nullptr;
    // A client that ends the conversation leaves its command unanswered: the
    // time-out reports it, and the next ones fail to go out.
    if (type == XTYP_XACT_COMPLETE && self->sent_ && self->sent_->transaction == first)
        self->answered(data != nullptr);
    return nullptr;
}

void CALLBACK DdeClient::timedOut(HWND, UINT, UINT_PTR timer, DWORD) {
    DdeClient* self = threadClient;
    if (self == nullptr || !self->sent_ || self->sent_->timer != timer) return;
    self->clientSilent_ = true;
    self->giveUp();
}

void DdeClient::takeRequests() {
    for (DdeRequest& request : mailbox_.takeRequests())
        waiting_.push_back(std::move(request));
    proceed();
}

void DdeClient::proceed() {
    while (!sent_ && !waiting_.empty()) {
        DdeRequest next = std::move(waiting_.front());
        waiting_.pop_front();
        if (auto* open = std::get_if<DdeOpen>(&next))
            connect(*open);
        else
            send(std::get<DdeExecute>(std::move(next)));
    }
}

void DdeClient::connect(const DdeOpen& open) {
    reportFailedOpen();
    // Executes name no item; the conversation is the application and topic.
    // The same conversation, still connected, is kept: a silent client is not
    // asked to end it.
    if (conversation_ != nullptr && open.application == application_ && open.topic == topic_) {
        if (HWND partner = connectedPartner(conversation_)) {
            toldOpen(partner);
            return;
        }
    }
    endConversation();
    if (instance_ == 0) {
        failedOpen_ = "DDE could not be started; " + open.name;
        toldOpen(nullptr);
        return;
    }
    const StringHandle service(instance_, open.application);
    const StringHandle topic(instance_, open.topic);
    if (service.get() != nullptr && topic.get() != nullptr)
        conversation_ = ::DdeConnect(instance_, service.get(), topic.get(), nullptr);
    HWND partner = conversation_ != nullptr ? connectedPartner(conversation_) : nullptr;
    if (partner == nullptr) {
        endConversation();
        failedOpen_ = "no program serves " + open.name;
        toldOpen(nullptr);
        return;
    }
    application_ = open.application;
    topic_ = open.topic;
    toldOpen(partner);
}

void DdeClient::send(DdeExecute command) {
    if (conversation_ == nullptr && failedOpen_) {
        // One line for the whole attempt: the command is lost because the
        // conversation did not open.
        mailbox_.tell({DdeOutcome::Of::Execute, nullptr,
                       services::Failure{services::IgnoredFailure::LinkNotOpened,
                                         *failedOpen_ + "; not executed: " + command.text}});
        failedOpen_.reset();
        return;
    }
    if (conversation_ == nullptr) {
        toldExecuted(command, "not handed over, no conversation is open");
        return;
    }
    DWORD transaction = 0;
    const HDDEDATA handedOver = ::DdeClientTransaction(
        reinterpret_cast<LPBYTE>(command.bytes.data()), static_cast<DWORD>(command.bytes.size()),
        conversation_, nullptr, CF_TEXT, XTYP_EXECUTE, TIMEOUT_ASYNC, &transaction);
    if (handedOver == nullptr) {
        toldExecuted(command, "not handed over, the conversation has ended");
        return;
    }
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kTimeoutMs, timedOut);
    sent_ = Sent{std::move(command), transaction, timer};
}

void DdeClient::answered(bool accepted) {
    clientSilent_ = false;
    toldExecuted(sent_->command, accepted ? "" : "refused by the IRC client");
    finishSent();
    proceed();
}

void DdeClient::giveUp() {
    toldExecuted(sent_->command, "not answered within " + std::to_string(kTimeoutMs / 1000) + " s");
    finishSent();
    proceed();
}

void DdeClient::finishSent() {
    ::KillTimer(nullptr, sent_->timer);
    // DDEML keeps an asynchronous transaction until it is abandoned, answered
    // or not, and Wine matches every answer against the oldest one it keeps.
    // All of the conversation's are abandoned (0): there is only ever this one,
    // and Wine does not find it by the identifier it gave for it (measured).
    ::DdeAbandonTransaction(instance_, conversation_, 0);
    sent_.reset();
}

void DdeClient::endConversation() {
    if (conversation_ != nullptr) {
        if (clientSilent_)
            leftOpen_ = true;
        else
            ::DdeDisconnect(conversation_);
    }
    conversation_ = nullptr;
    clientSilent_ = false;
}

void DdeClient::reportFailedOpen() {
    if (!failedOpen_) return;
    mailbox_.tell({DdeOutcome::Of::LaterFailure, nullptr,
                   services::Failure{services::IgnoredFailure::LinkNotOpened, *failedOpen_}});
    failedOpen_.reset();
}

void DdeClient::toldOpen(HWND partner) {
    mailbox_.tell({DdeOutcome::Of::Open, partner, std::nullopt});
}

void DdeClient::toldExecuted(const DdeExecute& command, const std::string& failure) {
    std::optional<services::Failure> reported;
    if (!failure.empty())
        reported = services::Failure{services::IgnoredFailure::CommandNotExecuted,
                                     failure + ": " + command.text};
    mailbox_.tell({DdeOutcome::Of::Execute, nullptr, std::move(reported)});
}

} // namespace tavren::backend::win32
