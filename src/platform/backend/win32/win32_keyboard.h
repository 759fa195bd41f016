#pragma once

#include "platform/services/diagnostics.h"
#include "platform/services/keyboard.h"
#include "process_integrity.h"

#include <windows.h>

#include <set>

namespace tavren::backend::win32 {

// Types key sequences with SendInput into the foreground window.
//
// Characters go as Unicode input (KEYEVENTF_UNICODE), so the text arrives
// exactly, Japanese and full-width forms included, whatever the keyboard
// layout. An open input method would compose them: the target's is closed for
// the order and opened again once every key has been read (ClosedInputMethod). A character with
// Ctrl or Alt held is a shortcut, not text: it goes as its virtual key where the layout has one.
// Shift held ("+") makes a character the one its key on the target's layout gives with Shift ("+1"
// is "!"), typed as Unicode input like the rest. Named keys, Enter and the modifiers go as virtual
// keys with their scan codes (some games read only those). The foreground is checked before every
// key; typing stops as soon as it is another window. Every synthesised key carries
// kTavrenInputMarker. The whole order is planned first (TypingPlan), then sent
// (TypingExecutor): one that cannot be typed is refused before any key goes out.
//
// type() returns once the target's thread has read every key and handled the
// last: a helper thread types, sharing the target's input queue meanwhile
// (AttachThreadInput), and the queue's synchronous key state, which changes as
// key messages are read from it (GetKeyState), tells how many were read
// (KeyReads). A key goes out once the one before it of the same key has been
// read, so text goes at the pace the target reads it. Sent messages cannot
// tell it: a WM_NULL round trip is answered ahead of queued input, on Windows
// and under Wine alike. Nor can GetQueueStatus or GetInputState: they report
// only the calling thread's own messages, and under Wine stay empty while the
// target's keys wait in the shared queue. A window that reads no key messages
// at all (a game reading raw input only) is found out once, and typed into
// unpaced from then on.
//
// A window of a process that runs at a higher integrity level (as
// administrator) gets nothing: Windows would drop the keys, and the press is
// reported failed, with the reason.
class Win32Keyboard : public services::Keyboard {
public:
    explicit Win32Keyboard(ProcessIntegrity& integrity,
                           services::Diagnostics& diagnostics = services::NoDiagnostics::instance())
        : integrity_(integrity), diagnostics_(diagnostics) {}

    services::TypeResult type(services::WindowHandle target,
                              const services::KeySequence& keys) override;

private:
    ProcessIntegrity& integrity_;
    services::Diagnostics& diagnostics_;
    // Windows found to read no key messages: typed into unpaced.
    std::set<HWND> readsNoKeyMessages_;
};

} // namespace tavren::backend::win32
