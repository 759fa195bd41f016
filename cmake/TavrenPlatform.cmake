# The one place that chooses the platform. The behaviour libraries are the same
# everywhere; the platform decides which backend directories build under src/,
# which entry file makes the program, and which backend tests run under tests/.
#
#   TAVREN_PLATFORM            x11 or win32
#   TAVREN_BACKEND_DIRS        backend directories under src/, in link order
#   TAVREN_BACKEND_TEST_DIRS   backend test directories under tests/
#
# TAVREN_WITH_QT=OFF (used by the fuzz build) keeps the X11 build to what needs
# no toolkit and no display.

if(WIN32)
    set(TAVREN_PLATFORM win32)
    set(TAVREN_BACKEND_DIRS platform/backend/ini platform/backend/win32 platform/view/win32
        tools/dde_link_monitor program/win32)
    set(TAVREN_BACKEND_TEST_DIRS backend/win32 view/win32 program/win32 e2e)
else()
    set(TAVREN_PLATFORM x11)
    set(TAVREN_BACKEND_DIRS platform/backend/ini platform/backend/posix)
    set(TAVREN_BACKEND_TEST_DIRS backend/ini backend/posix)
    if(TAVREN_WITH_QT)
        list(APPEND TAVREN_BACKEND_DIRS platform/view/qt platform/backend/x11 platform/backend/dbus program/x11
            tools)
        list(APPEND TAVREN_BACKEND_TEST_DIRS backend/x11 input_method backend/dbus irc_bridge view/qt e2e
            program/x11)
    endif()
endif()
message(STATUS "Tavren platform: ${TAVREN_PLATFORM}")
