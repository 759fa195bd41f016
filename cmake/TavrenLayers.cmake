# The behaviour libraries (app, board, delivery, nick, settings) and the neutral
# platform layers (controls, services) must stay free of toolkit and OS headers,
# so that the same behaviour runs headless in tests and on every platform.
# They are declared with tavren_neutral_library(), which refuses to configure
# when one of their sources includes such a header, and which links nothing but
# the other neutral libraries named in LINKS.

set(TAVREN_FORBIDDEN_INCLUDE_REGEX
    "#[ \t]*include[ \t]*[<\"](Q[A-Za-z]*|Qt[A-Za-z]*/|X11/|xcb/|windows\\.h|dbus/|iconv\\.h|unistd\\.h|sys/|fcntl\\.h)")
# Nor may they choose a platform themselves: no conditional compilation at all.
set(TAVREN_FORBIDDEN_CONDITIONAL_REGEX "^[ \t]*#[ \t]*(if|ifdef|ifndef|elif)[ \t(]")
set(TAVREN_NEUTRAL_LIBRARIES "" CACHE INTERNAL "")

#
# Without SOURCES, every .cpp file of the directory belongs to the library.
function(tavren_neutral_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    if(NOT ARG_SOURCES)
        file(GLOB ARG_SOURCES CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
             ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    endif()
    file(GLOB headers RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    foreach(src IN LISTS ARG_SOURCES headers)
        file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/${src} bad REGEX "${TAVREN_FORBIDDEN_INCLUDE_REGEX}")
        if(bad)
            message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}/${src} is toolkit-neutral code but includes a platform header: ${bad}")
        endif()
        file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/${src} conditional
             REGEX "${TAVREN_FORBIDDEN_CONDITIONAL_REGEX}")
        if(conditional)
            message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}/${src} is toolkit-neutral code but compiles conditionally: ${conditional}")
        endif()
    endforeach()
    foreach(dep IN LISTS ARG_LINKS)
        if(NOT dep IN_LIST TAVREN_NEUTRAL_LIBRARIES)
            message(FATAL_ERROR "${name} may only link toolkit-neutral libraries, not ${dep}")
        endif()
    endforeach()
    if(ARG_SOURCES)
        add_library(${name} STATIC ${ARG_SOURCES})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} PUBLIC ${ARG_LINKS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${ARG_LINKS})
    endif()
    set(TAVREN_NEUTRAL_LIBRARIES ${TAVREN_NEUTRAL_LIBRARIES} ${name} CACHE INTERNAL "")
endfunction()
