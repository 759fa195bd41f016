#pragma once

#include <windows.h>

#include <array>

namespace tavren::backend::win32 {

// How many of the key events this thread sent another thread that thread has
// read, per virtual key, seen through the input queue the two share
// (AttachedInput): a queue's synchronous key state changes as its key
// messages are read, each press setting the key's down bit and each release
// clearing it. That bit tells the number read exactly as long as at most one
// event of a key is unread at a time; the sender keeps to that.
//
// The toggle bit would allow three, but it cannot be trusted: under Wine the
// shared key state is set to the system's asynchronous one (toggle bits
// included) whenever the queue has no key left, and attaching resets it, so
// the toggle bits jump. The down bits agree in both, since by then every key
// sent has been read.
//
// Unicode characters (KEYEVENTF_UNICODE) are all VK_PACKET to the queue. A key
// the user holds down while it is typed stays down: its press never counts as
// read. A key an input method takes is read as VK_PROCESSKEY: a change of
// that key's state counts as progress of the key waiting.
class KeyReads {
public:
    static constexpr unsigned kMostUnread = 1;

    // One more event of `vk` is about to be sent.
    void sending(BYTE vk);
    // Events of `vk` sent and not yet read, looking at the key state now.
    unsigned unread(BYTE vk);
    // Whether every event sent has been read.
    bool allRead();

private:
    struct Key {
        unsigned sent = 0;
        unsigned read = 0;
        bool firstDown = false; // the key's state before its first event
    };
    std::array<Key, 256> keys_{};
    bool processKeyDown_ = false; // VK_PROCESSKEY's state when last looked at
};

} // namespace tavren::backend::win32
