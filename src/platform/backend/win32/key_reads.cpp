#include "key_reads.h"

namespace tavren::backend::win32 {

namespace {

bool isDown(BYTE vk) {
    return (::GetKeyState(vk) & 0x8000) != 0;
}

} // namespace

void KeyReads::sending(BYTE vk) {
    Key& key = keys_[vk];
    if (key.sent == key.read) {
        // Nothing of ours is waiting: the state now is where our events start.
        key.sent = key.read = 0;
        key.firstDown = isDown(vk);
        processKeyDown_ = isDown(VK_PROCESSKEY);
    }
    ++key.sent;
}

unsigned KeyReads::unread(BYTE vk) {
    Key& key = keys_[vk];
    if (key.sent == key.read) return 0;
    // With one event unread at most, it has been read once the bit is where
    // the events sent leave it.
    const bool after = key.firstDown != (key.sent % 2 == 1);
    const bool processKeyDown = isDown(VK_PROCESSKEY);
    if (isDown(vk) == after || processKeyDown != processKeyDown_) key.read = key.sent;
    processKeyDown_ = processKeyDown;
    return key.sent - key.read;
}

bool KeyReads::allRead() {
    for (unsigned vk = 0; vk < keys_.size(); ++vk)
        if (unread(static_cast<BYTE>(vk)) != 0) return false;
    return true;
}

} // namespace tavren::backend::win32
