#pragma once

#include "conversation.h"
#include "diagnostics.h"
#include "event_loop.h"
#include "files.h"
#include "keyboard.h"
#include "profile_store.h"
#include "screens.h"
#include "window_manager.h"

namespace tavren::services {

// The operating-system services one running program uses, passed to its windows.
struct Services {
    EventLoop& eventLoop;
    WindowManager& windowManager;
    WindowStacking& stacking;
    Keyboard& keyboard;
    KeyMonitor& keyMonitor;
    Conversation& conversation;
    ProfileStore& profile;
    Files& files;
    TextCodec& codec;
    OpenDialog& openDialog;
    Screens& screens;
    Diagnostics& diagnostics;
};

} // namespace tavren::services
