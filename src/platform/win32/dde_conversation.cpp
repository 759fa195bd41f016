#include "dde_conversation.h"

#include "wide_text.h"

#include <optional>

namespace tavren::win32 {

namespace {

// A client needs no callbacks; DDEML still wants one.
HDDEDATA CALLBACK ignoreEverything(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

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

} // namespace

DdeConversation::DdeConversation(unsigned codePage) : codePage_(codePage) {
    if (::DdeInitializeA(&instance_, ignoreEverything, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        instance_ = 0;
}

DdeConversation::~DdeConversation() {
    disconnect();
    if (instance_ != 0) ::DdeUninitialize(instance_);
}

void DdeConversation::disconnect() {
    if (conversation_ != nullptr) ::DdeDisconnect(conversation_);
    conversation_ = nullptr;
}

bool DdeConversation::open(const std::string& application, const std::string& topic,
                           const std::string& /*item*/) {
    // Executes name no item; the conversation is the application and topic.
    disconnect();
    if (instance_ == 0) return false;
    const auto app = utf8ToCodePage(application, codePage_);
    const auto subject = utf8ToCodePage(topic, codePage_);
    if (!app || !subject) return false;
    const StringHandle service(instance_, *app);
    const StringHandle name(instance_, *subject);
    if (service.get() == nullptr || name.get() == nullptr) return false;
    conversation_ = ::DdeConnect(instance_, service.get(), name.get(), nullptr);
    return conversation_ != nullptr;
}

bool DdeConversation::execute(const std::string& command) {
    if (conversation_ == nullptr) return false;
    const std::optional<std::string> bytes = utf8ToCodePage(command, codePage_);
    if (!bytes) return false;
    std::string data = *bytes;
    data.push_back('\0'); // CF_TEXT is a NUL-terminated string
    DWORD result = 0;
    const HDDEDATA answer = ::DdeClientTransaction(
        reinterpret_cast<LPBYTE>(data.data()), static_cast<DWORD>(data.size()), conversation_,
        nullptr, CF_TEXT, XTYP_EXECUTE, kTimeoutMs, &result);
    if (answer == nullptr) {
        // A transaction that timed out is still pending: abandon it, so that a
        // late answer cannot be taken for the next one.
        if (::DdeGetLastError(instance_) == DMLERR_EXECACKTIMEOUT)
            ::DdeAbandonTransaction(instance_, conversation_, 0);
        return false;
    }
    return true;
}

} // namespace tavren::win32
