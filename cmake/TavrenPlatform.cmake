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
    set(TAVREN_BACKEND_DIRS platform/ini platform/win32 platform/win32_view tools/dde_link_monitor
        program/win32)
    set(TAVREN_BACKEND_TEST_DIRS win32 win32_program e2e)
else()
    set(TAVREN_PLATFORM x11)
    set(TAVREN_BACKEND_DIRS platform/ini platform/posix)
    set(TAVREN_BACKEND_TEST_DIRS ini posix)
    if(TAVREN_WITH_QT)
        list(APPEND TAVREN_BACKEND_DIRS platform/qt platform/x11 platform/dbus program/x11 tools)
        list(APPEND TAVREN_BACKEND_TEST_DIRS x11 input_method dbus irc_bridge qt e2e program)
    endif()
endif()
message(STATUS "Tavren platform: ${TAVREN_PLATFORM}")
