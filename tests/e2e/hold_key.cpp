// Holds a key on the desktop's own keyboard device for a while, as a finger
// does, then lets go: unlike xdotool's keys, which share the device of every
// synthesised key, it is down for the server exactly as a key held by hand.
// Usage: tavren_hold_key KEYSYM MILLISECONDS
#include "backend/x11/physical_keyboard.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s KEYSYM MILLISECONDS\n", argv[0]);
        return 2;
    }
    try {
        tavren::testkeys::PhysicalKeyboard keyboard;
        if (!keyboard.hold(argv[1])) {
            std::fprintf(stderr, "no key has the keysym %s\n", argv[1]);
            return 1;
        }
        // The finger's time on the key: what is tested is what happens meanwhile.
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[2])));
        return keyboard.letGo(argv[1]) ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
