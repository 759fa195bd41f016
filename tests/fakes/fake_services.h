#pragma once

#include "call_log.h"

#include "platform/controls/form.h"
#include "platform/services/services.h"
#include "text/ascii_case.h"
#include "text/utf8.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tavren::fakes {

// Each fake records what it was asked in the shared log and answers from state a
// test sets up. None of them has behaviour of its own beyond what is documented.

class FakeEventLoop : public services::EventLoop {
public:
    explicit FakeEventLoop(CallLog& log) : log_(log) {}
    void processPendingEvents() override {
        ++passes;
        log_.add("processPendingEvents");
        // A test queues "events" that run nested inside the pass that picks them up.
        if (!pending.empty()) {
            auto event = std::move(pending.front());
            pending.pop_front();
            event();
        }
        if (onPass) onPass(passes);
    }
    void quit() override {
        quitRequested = true;
        log_.add("quit");
    }
    bool ending() const override { return quitRequested; }

    int passes = 0;
    bool quitRequested = false;
    std::deque<std::function<void()>> pending;
    std::function<void(int pass)> onPass;

private:
    CallLog& log_;
};

class FakeWindowManager : public services::WindowManager {
public:
    explicit FakeWindowManager(CallLog& log) : log_(log) {}
    std::vector<services::TopLevelWindow> topLevelWindows() override {
        log_.add("topLevelWindows");
        return windows;
    }
    using services::WindowManager::bringToFront;
    void bringToFront(services::WindowHandle w, services::FrontAllowance& press) override {
        log_.add("bringToFront " + std::to_string(w));
        ++frontRequests[w];
        // A window comes to the front after the number of requests set for it
        // (default: at once); refused windows never do, though the press pushes
        // past the refusal once, as Windows' window manager does.
        if (refused.count(w)) {
            if (!press.spent) ++pushesPastRefusal;
            press.spent = true;
            return;
        }
        auto needed = requestsNeeded.count(w) ? requestsNeeded[w] : 1;
        if (frontRequests[w] >= needed) foreground = w;
    }
    services::WindowHandle foregroundWindow() override {
        log_.add("foregroundWindow");
        return foreground;
    }

    std::vector<services::TopLevelWindow> windows;
    services::WindowHandle foreground = 0;
    std::map<services::WindowHandle, int> requestsNeeded;
    std::map<services::WindowHandle, int> frontRequests;
    std::map<services::WindowHandle, bool> refused;
    int pushesPastRefusal = 0;

private:
    CallLog& log_;
};

class FakeStacking : public services::WindowStacking {
public:
    explicit FakeStacking(CallLog& log) : log_(log) {}
    void setKeepAbove(const controls::Form& form, bool above) override {
        log_.add("setKeepAbove " + form.name() + (above ? " 1" : " 0"));
        keptAbove[form.name()] = above;
    }
    std::map<std::string, bool> keptAbove;

private:
    CallLog& log_;
};

class FakeKeyboard : public services::Keyboard {
public:
    struct Typed {
        services::WindowHandle target;
        services::KeySequence keys;
    };
    explicit FakeKeyboard(CallLog& log) : log_(log) {}
    services::TypeResult type(services::WindowHandle target,
                              const services::KeySequence& keys) override {
        log_.add("type " + std::to_string(target) + " " + std::to_string(keys.size()));
        typed.push_back({target, keys});
        return result;
    }
    std::vector<Typed> typed;
    services::TypeResult result = services::TypeResult::Typed;

private:
    CallLog& log_;
};

class FakeKeyMonitor : public services::KeyMonitor {
public:
    explicit FakeKeyMonitor(CallLog& log) : log_(log) {}
    services::KeyState query(services::KeypadDigit key) override {
        const int digit = static_cast<int>(key);
        log_.add("query " + std::to_string(digit));
        auto state = states[digit];
        states[digit].pressedSinceLastQuery = false;
        return state;
    }
    void monitoringStopped() override {
        log_.add("monitoringStopped");
        for (auto& [digit, state] : states)
            state.downNow = false;
    }
    std::map<int, services::KeyState> states;

private:
    CallLog& log_;
};

class FakeConversation : public services::Conversation {
public:
    explicit FakeConversation(CallLog& log) : log_(log) {}
    bool open(const std::string& application, const std::string& topic,
              const std::string& item) override {
        log_.add("open " + application + "|" + topic + "!" + item);
        isOpen = peerRunning;
        return isOpen;
    }
    bool execute(const std::string& command) override {
        log_.add("execute " + command);
        if (!isOpen) return false;
        executed.push_back(command);
        return true;
    }
    bool peerRunning = true;
    bool isOpen = false;
    std::vector<std::string> executed;

private:
    CallLog& log_;
};

// Answers like the real store: a value loses the blanks around it, is cut to
// 254 bytes between characters, and a written line break or NUL reads as a blank.
class FakeProfileStore : public services::ProfileStore {
public:
    explicit FakeProfileStore(CallLog& log) : log_(log) {}
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback) override {
        log_.add("read " + std::string(section) + "/" + std::string(key));
        auto it = values.find(lower(section) + "/" + lower(key));
        if (it == values.end()) return std::string(fallback);
        return withoutTrailingBlanks(
            text::cutOnCharacterBoundary(withoutLeadingBlanks(it->second), 254));
    }
    bool write(const std::vector<services::ProfileEntry>& entries) override {
        log_.add("write " + std::to_string(entries.size()));
        ++writes;
        if (failWrites) return false;
        for (const auto& e : entries) {
            values[lower(e.section) + "/" + lower(e.key)] = withoutLineBreaks(e.value);
            written.push_back(e);
        }
        return true;
    }
    void set(std::string_view section, std::string_view key, std::string value) {
        values[lower(section) + "/" + lower(key)] = std::move(value);
    }
    static std::string lower(std::string_view s) { return text::asciiLower(s); }
    std::map<std::string, std::string> values; // "section/key", lower case
    std::vector<services::ProfileEntry> written;
    int writes = 0;
    bool failWrites = false;

private:
    static std::string_view withoutLeadingBlanks(std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
        return s;
    }
    static std::string withoutTrailingBlanks(std::string_view s) {
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
            s.remove_suffix(1);
        return std::string(s);
    }
    static std::string withoutLineBreaks(std::string s) {
        for (auto& c : s)
            if (c == '\r' || c == '\n' || c == '\0') c = ' ';
        return s;
    }

    CallLog& log_;
};

class FakeFiles : public services::Files {
public:
    explicit FakeFiles(CallLog& log) : log_(log) {}
    std::optional<std::string> readPrefix(const std::string& path, std::size_t maxBytes) override {
        log_.add("readPrefix " + path);
        lastMaxBytes = maxBytes;
        auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second.substr(0, maxBytes);
    }
    std::map<std::string, std::string> files;
    std::size_t lastMaxBytes = 0;

private:
    CallLog& log_;
};

// Decodes a made-up legacy encoding for tests: bytes 0x80..0xFF stand for the
// code points U+3040 + (byte - 0x80); 0xFF is unassigned and becomes U+FFFD, as
// the real converter does with bytes it cannot decode.
class FakeTextCodec : public services::TextCodec {
public:
    std::string legacyToUtf8(const std::string& bytes) override;
};

class FakeOpenDialog : public services::OpenDialog {
public:
    explicit FakeOpenDialog(CallLog& log) : log_(log) {}
    std::optional<std::string> chooseFile(const std::vector<services::FileFilter>& f) override {
        log_.add("chooseFile");
        filters = f;
        return answer;
    }
    std::optional<std::string> answer; // nothing = cancelled
    std::vector<services::FileFilter> filters;

private:
    CallLog& log_;
};

class FakeScreens : public services::Screens {
public:
    std::vector<controls::Rect> availableGeometries() override { return screens; }
    std::vector<controls::Rect> screens{{0, 0, 1280 * 15.0, 1024 * 15.0}};
};

// Records every failure reported, in the call log too ("report <line>"), so a
// test sees where in the sequence of calls a failure was noticed.
class FakeDiagnostics : public services::Diagnostics {
public:
    explicit FakeDiagnostics(CallLog& log) : log_(log) {}
    void report(const services::Failure& failure) override {
        log_.add("report " + services::describe(failure));
        reported.push_back(failure);
    }
    // The failures of one kind, in order.
    std::vector<services::Failure> of(services::IgnoredFailure what) const {
        std::vector<services::Failure> out;
        for (const auto& f : reported)
            if (f.what == what) out.push_back(f);
        return out;
    }
    std::vector<services::Failure> reported;

private:
    CallLog& log_;
};

// Every fake of one test, wired to one call log.
struct FakePlatform {
    CallLog log;
    FakeEventLoop eventLoop{log};
    FakeWindowManager windowManager{log};
    FakeStacking stacking{log};
    FakeKeyboard keyboard{log};
    FakeKeyMonitor keyMonitor{log};
    FakeConversation conversation{log};
    FakeProfileStore profile{log};
    FakeFiles files{log};
    FakeTextCodec codec;
    FakeOpenDialog openDialog{log};
    FakeScreens screens;
    FakeDiagnostics diagnostics{log};

    services::Services services() {
        return services::Services{eventLoop,  windowManager, stacking, keyboard,
                                  keyMonitor, conversation,  profile,  files,
                                  codec,      openDialog,    screens,  diagnostics};
    }
};

} // namespace tavren::fakes
