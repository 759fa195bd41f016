// tavren-link-monitor for Windows: serves the IRC client's end of the DDE
// conversation (application CHOCOA, topic SCRIPTEXEC_SEND, as an ANSI program
// like the IRC client), so that a user can watch what Tavren sends and tests
// have a peer. Prints every command it is asked to execute on standard output,
// byte for byte as received (in the ANSI code page, CR LF included), followed
// by a newline. Writes "ready" to standard error once it serves the name, and
// "conversation ended" there each time a client ends its conversation.
//
//   tavren-link-monitor [--application NAME] [--topic NAME] [--never-answer | --refuse]
//
// --never-answer holds every command unanswered, as a hung IRC client would;
// --refuse answers each one "not processed", as a client that cannot run it.
#include <windows.h>

#include <ddeml.h>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>

namespace {

DWORD instance = 0;
HSZ serviceName = nullptr;
HSZ topicName = nullptr;
bool neverAnswer = false;
bool refuse = false;

void print(const std::string& command) {
    std::fwrite(command.data(), 1, command.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

HDDEDATA CALLBACK serve(UINT type, UINT, HCONV, HSZ first, HSZ second, HDDEDATA data, ULONG_PTR,
                        ULONG_PTR) {
    switch (type) {
    case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(
            static_cast<INT_PTR>(DdeCmpStringHandles(first, topicName) == 0 &&
                                 DdeCmpStringHandles(second, serviceName) == 0));
    case XTYP_EXECUTE: {
        const DWORD size = DdeGetData(data, nullptr, 0, 0);
        std::string bytes(size, '\0');
        DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
        // A text command ends at its NUL.
        bytes.resize(std::strlen(bytes.c_str()));
        print(bytes);
        // Held, never answered: the caller's time-out has to end its wait.
        if (neverAnswer) return reinterpret_cast<HDDEDATA>(CBR_BLOCK);
        return reinterpret_cast<HDDEDATA>(refuse ? DDE_FNOTPROCESSED : DDE_FACK);
    }
    case XTYP_DISCONNECT:
        std::fprintf(stderr, "conversation ended\n");
        std::fflush(stderr);
        return nullptr;
    default:
        return nullptr;
    }
}

} // namespace

int main(int argc, char** argv) {
    // The bytes as they came: no CR added before the newlines.
    _setmode(_fileno(stdout), _O_BINARY);
    std::string application = "CHOCOA";
    std::string topic = "SCRIPTEXEC_SEND";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--application" && i + 1 < argc) {
            application = argv[++i];
        } else if (arg == "--topic" && i + 1 < argc) {
            topic = argv[++i];
        } else if (arg == "--never-answer") {
            neverAnswer = true;
        } else if (arg == "--refuse") {
            refuse = true;
        } else {
            std::fprintf(stderr, "usage: tavren-link-monitor [--application NAME] [--topic NAME] "
                                 "[--never-answer | --refuse]\n");
            return 2;
        }
    }
    const UINT filters = APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES | CBF_FAIL_REQUESTS |
                         CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
    if (DdeInitializeA(&instance, serve, filters, 0) != DMLERR_NO_ERROR) {
        std::fprintf(stderr, "tavren-link-monitor: DDE is not available\n");
        return 1;
    }
    serviceName = DdeCreateStringHandleA(instance, application.c_str(), CP_WINANSI);
    topicName = DdeCreateStringHandleA(instance, topic.c_str(), CP_WINANSI);
    if (DdeNameService(instance, serviceName, nullptr, DNS_REGISTER) == nullptr) {
        std::fprintf(stderr, "tavren-link-monitor: cannot serve %s\n", application.c_str());
        return 1;
    }
    std::fprintf(stderr, "ready\n");
    std::fflush(stderr);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DdeNameService(instance, serviceName, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(instance, serviceName);
    DdeFreeStringHandle(instance, topicName);
    DdeUninitialize(instance);
    return 0;
}
