// A session manager that ends the session of the one client that registers
// with it, as a desktop's logout does, speaking the X session management
// protocol (XSMP) through libSM.
// Usage: tavren_session_manager save|die ADDRESS-FILE
// Writes its address (the SESSION_MANAGER value) to ADDRESS-FILE, then reports
// on standard output each step: "registered", "save-yourself-done", "closed".
// On SIGUSR1 it ends the session: "save" asks the client to save for a
// shutdown (type both, no interaction) and tells it to die once it has;
// "die" tells it to die straight away.
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

volatile std::sig_atomic_t endAsked = 0;
SmsConn client = nullptr;
bool closed = false;

void report(const char* step) {
    std::printf("%s\n", step);
    std::fflush(stdout);
}

Bool acceptAnyHost(char*) {
    return True;
}

Status registerClient(SmsConn conn, SmPointer, char*) {
    char* id = SmsGenerateClientID(conn);
    const Status status = SmsRegisterClientReply(conn, id);
    std::free(id);
    client = conn;
    report("registered");
    return status;
}

void saveYourselfDone(SmsConn conn, SmPointer, Bool) {
    report("save-yourself-done");
    SmsDie(conn);
}

void closeConnection(SmsConn conn, SmPointer, int count, char** reasons) {
    SmFreeReasons(count, reasons);
    SmsCleanUp(conn);
    client = nullptr;
    closed = true;
    report("closed");
}

void setProperties(SmsConn, SmPointer, int count, SmProp** props) {
    for (int i = 0; i < count; ++i)
        SmFreeProperty(props[i]);
    std::free(props);
}

void deleteProperties(SmsConn, SmPointer, int count, char** names) {
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}

void getProperties(SmsConn conn, SmPointer) {
    SmsReturnProperties(conn, 0, nullptr);
}

void interactRequest(SmsConn conn, SmPointer, int) {
    SmsInteract(conn);
}
void interactDone(SmsConn, SmPointer, Bool) {}
void saveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
void saveYourselfPhase2Request(SmsConn conn, SmPointer) {
    SmsSaveYourselfPhase2(conn);
}

Status newClient(SmsConn, SmPointer, unsigned long* mask, SmsCallbacks* cb, char**) {
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
            SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
            SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
    cb->register_client.callback = registerClient;
    cb->interact_request.callback = interactRequest;
    cb->interact_done.callback = interactDone;
    cb->save_yourself_request.callback = saveYourselfRequest;
    cb->save_yourself_phase2_request.callback = saveYourselfPhase2Request;
    cb->save_yourself_done.callback = saveYourselfDone;
    cb->close_connection.callback = closeConnection;
    cb->set_properties.callback = setProperties;
    cb->delete_properties.callback = deleteProperties;
    cb->get_properties.callback = getProperties;
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool saveFirst = argc == 3 && std::strcmp(argv[1], "save") == 0;
    if (argc != 3 || (!saveFirst && std::strcmp(argv[1], "die") != 0)) {
        std::fprintf(stderr, "usage: %s save|die ADDRESS-FILE\n", argv[0]);
        return 2;
    }
    std::signal(SIGUSR1, [](int) { endAsked = 1; });
    // The default handler ends the program when a client goes away.
    IceSetIOErrorHandler([](IceConn) {});

    char error[256] = "";
    if (!SmsInitialize("tavren-tests", "1", newClient, nullptr, acceptAnyHost, sizeof error,
                       error)) {
        std::fprintf(stderr, "SmsInitialize: %s\n", error);
        return 1;
    }
    int count = 0;
    IceListenObj* listeners = nullptr;
    if (!IceListenForConnections(&count, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "IceListenForConnections: %s\n", error);
        return 1;
    }
    for (int i = 0; i < count; ++i)
        IceSetHostBasedAuthProc(listeners[i], acceptAnyHost);
    char* address = IceComposeNetworkIdList(count, listeners);
    if (FILE* file = std::fopen(argv[2], "w")) {
        std::fprintf(file, "%s\n", address);
        std::fclose(file);
    }
    std::free(address);

    std::vector<IceConn> connections;
    bool endSent = false;
    while (!closed) {
        if (endAsked && client && !endSent) {
            endSent = true;
            if (saveFirst)
                SmsSaveYourself(client, SmSaveBoth, True, SmInteractStyleNone, False);
            else
                SmsDie(client);
        }
        std::vector<pollfd> fds;
        for (int i = 0; i < count; ++i)
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        for (IceConn conn : connections)
            fds.push_back({IceConnectionNumber(conn), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), 50) <= 0) continue;
        for (int i = 0; i < count; ++i) {
            if (!(fds[i].revents & POLLIN)) continue;
            IceAcceptStatus status;
            if (IceConn conn = IceAcceptConnection(listeners[i], &status))
                connections.push_back(conn);
        }
        for (std::size_t i = 0; i < connections.size(); ++i) {
            if (!(fds[count + i].revents & (POLLIN | POLLHUP))) continue;
            if (IceProcessMessages(connections[i], nullptr, nullptr) != IceProcessMessagesSuccess) {
                // Gone without saying goodbye counts as gone.
                IceCloseConnection(connections[i]);
                connections.erase(connections.begin() + static_cast<long>(i));
                if (!closed) report("closed");
                closed = true;
                break;
            }
        }
    }
    IceFreeListenObjs(count, listeners);
    return 0;
}
