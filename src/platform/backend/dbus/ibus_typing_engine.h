#pragma once

#include <QString>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace tavren::backend::dbus {

class BusConnection;
class IbusEngineService;

// An ibus engine served from this program, switched in while an order is
// typed. It hands every key back to the window untouched: unlike ibus's
// keyboard engines it has no compose sequences that would take "＠" (whose
// keysym's low bits are the Compose key's) and the key after it, and ibus's
// GTK module hands characters it gets back to the window as text, past GTK's
// own compose handling.
//
// It also watches for the marker key: typed after an order's last key, it
// reaches the engine only once ibus has handled every key before it, through
// whichever window and input-method module they went.
//
// The engine is served on a thread of its own: ibus calls it while the thread
// that types waits for ibus.
class IbusTypingEngine {
public:
    IbusTypingEngine();
    ~IbusTypingEngine();
    IbusTypingEngine(const IbusTypingEngine&) = delete;
    IbusTypingEngine& operator=(const IbusTypingEngine&) = delete;

    // Offers the engine to the ibus daemon at `address`, once per daemon.
    // False when it could not be.
    bool offer(const std::string& address);

    static QString name();
    // The marker's keysym name: a modifier key's, which a window that ibus does
    // not serve ignores when it gets the key itself.
    static const char* markerKeysym();

    // How many markers the engine has been handed so far.
    std::uint64_t markersSeen() const { return markers_.load(); }

private:
    void withdraw();

    std::atomic<std::uint64_t> markers_{0};
    QThread thread_;
    std::unique_ptr<IbusEngineService> service_;
    std::unique_ptr<BusConnection> bus_;
    bool offered_ = false;
};

} // namespace tavren::backend::dbus
