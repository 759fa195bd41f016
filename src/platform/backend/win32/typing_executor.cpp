#include "typing_executor.h"

#include "attached_input.h"
#include "closed_input_method.h"
#include "injected_input.h"
#include "key_reads.h"

#include <variant>
#include <vector>

namespace tavren::backend::win32 {

using services::TypeResult;

namespace {

INPUT virtualKeyInput(WORD vk, bool extended, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    input.ki.dwExtraInfo = kTavrenInputMarker;
    return input;
}

INPUT unicodeInput(wchar_t unit, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = static_cast<WORD>(unit);
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    input.ki.dwExtraInfo = kTavrenInputMarker;
    return input;
}

std::vector<wchar_t> utf16Units(char32_t c) {
    if (c < 0x10000) return {static_cast<wchar_t>(c)};
    const char32_t v = c - 0x10000;
    return {static_cast<wchar_t>(0xD800 + (v >> 10)), static_cast<wchar_t>(0xDC00 + (v & 0x3FF))};
}

// The step's events: its modifiers pressed, the key or the character's UTF-16
// units pressed and released, its modifiers released in the reverse order.
std::vector<INPUT> inputsFor(const TypingStep& step) {
    const auto* key = std::get_if<Key>(&step);
    const auto& modifiers = key ? key->modifiers : std::get<Character>(step).modifiers;
    std::vector<INPUT> inputs;
    for (const std::uint8_t modifier : modifiers)
        inputs.push_back(virtualKeyInput(modifier, false, false));
    if (key) {
        inputs.push_back(virtualKeyInput(key->virtualKey, key->extended, false));
        inputs.push_back(virtualKeyInput(key->virtualKey, key->extended, true));
    } else {
        for (const wchar_t unit : utf16Units(std::get<Character>(step).character)) {
            inputs.push_back(unicodeInput(unit, false));
            inputs.push_back(unicodeInput(unit, true));
        }
    }
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
        inputs.push_back(virtualKeyInput(*it, false, true));
    return inputs;
}

// Every event of a stroke is a press or a release of this key.
BYTE keyOf(const INPUT& input) {
    return (input.ki.dwFlags & KEYEVENTF_UNICODE) ? VK_PACKET : static_cast<BYTE>(input.ki.wVk);
}

enum class Waited { Done, LostForeground, TimedOut };

// Checks `done` until it holds, for at most kProcessedTimeoutMs; with `window`,
// gives up as soon as another window is in front.
template <class Done> Waited waitUntil(Done done, HWND window = nullptr) {
    const ULONGLONG giveUp = ::GetTickCount64() + TypingExecutor::kProcessedTimeoutMs;
    for (unsigned looks = 0;; ++looks) {
        // Checked first: what follows a wait is sent at once.
        if (window != nullptr && ::GetForegroundWindow() != window) return Waited::LostForeground;
        if (done()) return Waited::Done;
        if (::GetTickCount64() >= giveUp) return Waited::TimedOut;
        // The target reads a key in well under a millisecond when it is not busy.
        ::Sleep(looks < 50 ? 0 : 1);
    }
}

bool send(INPUT* first, std::size_t count) {
    if (count == 0) return true;
    return ::SendInput(static_cast<UINT>(count), first, sizeof(INPUT)) == count;
}

// Whether the window handles sent messages within a moment: a window that
// does, and still leaves its keys unread, reads none as key messages.
bool answersPromptly(HWND window) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &ignored) != 0;
}

// Sends a stroke's events, never more than KeyReads::kMostUnread of one key
// unread, so each waits until the target has read the one before it of the
// same key. Before the stroke's first event the wait ends as soon as `window`
// is no longer in front; once part of the stroke is out, the rest always
// follows, so that no modifier stays pressed, without waiting after a wait
// has run out.
//
// A window whose keys stay unread for the whole wait while it answers
// messages reads no key messages at all (a game that reads raw input only):
// `paced` turns false, and the rest goes out without waiting, as every key
// into that window from then on.
TypeResult sendCounted(std::vector<INPUT>& inputs, HWND window, KeyReads& reads, bool& paced) {
    bool unreadTooLong = false;
    std::size_t pieceStart = 0;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const BYTE vk = keyOf(inputs[i]);
        if (paced && !unreadTooLong && reads.unread(vk) >= KeyReads::kMostUnread) {
            if (!send(inputs.data() + pieceStart, i - pieceStart)) return TypeResult::Failed;
            const bool started = i > 0;
            pieceStart = i;
            const Waited waited =
                waitUntil([&] { return reads.unread(vk) < KeyReads::kMostUnread; },
                          started ? nullptr : window);
            if (waited == Waited::LostForeground) return TypeResult::Interrupted;
            if (waited == Waited::TimedOut) {
                if (answersPromptly(window)) {
                    paced = false;
                } else {
                    if (!started) return TypeResult::Failed;
                    unreadTooLong = true;
                }
            }
        }
        reads.sending(vk);
    }
    if (!send(inputs.data() + pieceStart, inputs.size() - pieceStart)) return TypeResult::Failed;
    return unreadTooLong ? TypeResult::Failed : TypeResult::Typed;
}

// How long a key the user holds may keep its stroke waiting: a tap's press is
// over in a tenth of a second, and a key held longer than this repeats for the
// user anyway.
constexpr ULONGLONG kHeldKeyPatienceMs = 1000;

// A key of the stroke that the user is still holding (Enter, when it sent the
// send box) would reach the target as a repeat of the user's press, and the
// user's release after ours would come as a release of a key the target
// already saw go up: the stroke waits, bounded, until the user lets go.
// Waiting rather than releasing the key from here leaves the user's own press
// and release as they were. False when the user held on too long.
bool userLetGoOfKeys(const std::vector<INPUT>& inputs) {
    for (const INPUT& input : inputs) {
        if (input.ki.dwFlags & (KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)) continue;
        const ULONGLONG giveUp = ::GetTickCount64() + kHeldKeyPatienceMs;
        while (::GetAsyncKeyState(input.ki.wVk) & 0x8000) {
            if (::GetTickCount64() >= giveUp) return false;
            ::Sleep(1);
        }
    }
    return true;
}

// A window answers a sent message only between its messages: once it has read
// the last key, the answer comes after that key's message has been handled.
// Sent messages go ahead of input, so a round trip alone says nothing about
// keys still queued.
bool roundTrip(HWND target) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                 TypingExecutor::kProcessedTimeoutMs, &ignored) != 0;
}

} // namespace

TypeResult TypingExecutor::typeFollowingReads(const TypingPlan& plan) {
    // Joined for the whole typing: joining resets the key state the reads are
    // counted on, and the queue must be the target's before the first key.
    const AttachedInput input(window_);
    if (!input.attached()) return typeWithoutFollowing(plan);
    // Opened again on the way out, once every key has been read.
    const ClosedInputMethod inputMethod(window_);
    KeyReads reads;
    bool paced = !readsNoKeyMessages_.contains(window_);
    for (const TypingStep& step : plan.steps) {
        std::vector<INPUT> inputs = inputsFor(step);
        if (!userLetGoOfKeys(inputs)) return TypeResult::Failed;
        if (::GetForegroundWindow() != window_) return TypeResult::Interrupted;
        const bool wasPaced = paced;
        const TypeResult sent = sendCounted(inputs, window_, reads, paced);
        if (wasPaced && !paced) {
            readsNoKeyMessages_.insert(window_);
            diagnostics_.report({services::IgnoredFailure::KeysNotFollowed,
                                 "the window reads no key messages (raw input only?): its keys go "
                                 "out unpaced from now on"});
        }
        if (sent != TypeResult::Typed) return sent;
    }
    // Every key is in the target's queue by now, whatever comes to the front.
    if (paced && waitUntil([&] { return reads.allRead(); }) != Waited::Done)
        return TypeResult::Failed;
    // A window that hangs handling the last key has still read every key.
    roundTrip(window_);
    return TypeResult::Typed;
}

TypeResult TypingExecutor::typeWithoutFollowing(const TypingPlan& plan) {
    for (const TypingStep& step : plan.steps) {
        if (::GetForegroundWindow() != window_) return TypeResult::Interrupted;
        std::vector<INPUT> inputs = inputsFor(step);
        if (!userLetGoOfKeys(inputs)) return TypeResult::Failed;
        if (!send(inputs.data(), inputs.size())) return TypeResult::Failed;
    }
    // The best there is without a shared queue: each answer comes between two
    // of the window's messages, but ahead of the keys still queued. A window
    // of this thread reads its keys only once we are back in the event loop.
    if (roundTrip(window_)) roundTrip(window_);
    return TypeResult::Typed;
}

} // namespace tavren::backend::win32
