#include "dde_conversation.h"

#include "wide_text.h"
#include "window_class.h"

#include <utility>

namespace tavren::backend::win32 {

namespace {

constexpr wchar_t kOutcomesWindowClass[] = L"TavrenDdeOutcomes";
constexpr UINT kOutcomesWaiting = WM_APP + 1;

} // namespace

DdeConversation::DdeConversation(services::Diagnostics& diagnostics, unsigned codePage)
    : diagnostics_(diagnostics), codePage_(codePage) {
    registerPlainWindowClass(kOutcomesWindowClass, outcomesProc);
    // Message-only: no broadcast reaches it, the DDE thread's included.
    outcomesWindow_ = ::CreateWindowExW(0, kOutcomesWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (outcomesWindow_ == nullptr) return;
    ::SetWindowLongPtrW(outcomesWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    mailbox_ = std::make_shared<DdeMailbox>(outcomesWindow_, kOutcomesWaiting);
    // The client is made, used and ended on the thread; the thread owns it.
    auto client = std::make_shared<std::unique_ptr<DdeClient>>();
    std::shared_ptr<DdeMailbox> mailbox = mailbox_;
    thread_ = std::make_unique<MessageLoopThread>(
        MessageLoopThread::Handlers{
            [client, mailbox] { *client = std::make_unique<DdeClient>(*mailbox); },
            [client] { (*client)->takeRequests(); }, [client] { client->reset(); }},
        kEndWaitMs);
}

DdeConversation::~DdeConversation() {
    // Ends the thread first: what it tells on its way out is still reported.
    thread_.reset();
    if (outcomesWindow_ == nullptr) return;
    readOutcomes();
    ::DestroyWindow(outcomesWindow_);
}

LRESULT CALLBACK DdeConversation::outcomesProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* self = reinterpret_cast<DdeConversation*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kOutcomesWaiting && self != nullptr) {
        self->readOutcomes();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void DdeConversation::readOutcomes() {
    for (DdeOutcome& outcome : mailbox_->takeOutcomes()) {
        if (outcome.of == DdeOutcome::Of::Open) {
            if (opening_ > 0) --opening_;
            partner_ = outcome.partner;
        } else if (outcome.of == DdeOutcome::Of::Execute && unanswered_ > 0) {
            --unanswered_;
        }
        if (outcome.failure) diagnostics_.report(*outcome.failure);
    }
}

void DdeConversation::ask(DdeRequest request) {
    mailbox_->ask(std::move(request));
    thread_->wake();
}

bool DdeConversation::open(const std::string& application, const std::string& topic,
                           const std::string& /*item*/) {
    if (!thread_ || !thread_->running()) return false;
    const auto app = utf8ToCodePage(application, codePage_);
    const auto subject = utf8ToCodePage(topic, codePage_);
    if (!app || !subject) return false;
    ask(DdeOpen{*app, *subject, application + "|" + topic});
    ++opening_;
    return true;
}

bool DdeConversation::execute(const std::string& command) {
    if (!thread_ || !thread_->running()) return false;
    // Executes go to the conversation as last opened: none opened and none
    // being opened, or its server gone, means nobody to hand it to.
    if (opening_ == 0 && (partner_ == nullptr || !::IsWindow(partner_))) return false;
    const std::optional<std::string> bytes = utf8ToCodePage(command, codePage_);
    if (!bytes) return false;
    if (unanswered_ > kMaxWaiting) return false;
    ask(DdeExecute{*bytes + '\0', command}); // CF_TEXT is a NUL-terminated string
    ++unanswered_;
    return true;
}

} // namespace tavren::backend::win32
