# Cross-built Windows programs run under Wine: ctest starts every test through
# a small script that points Wine at a prefix inside the build directory, so a
# build never touches ~/.wine and a fresh build dir gets a fresh prefix.
if(NOT CMAKE_CROSSCOMPILING OR NOT WIN32)
    return()
endif()
find_program(TAVREN_WINE wine)
if(NOT TAVREN_WINE)
    message(WARNING "wine not found: the Windows tests build but cannot run here")
endif()
set(TAVREN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
endif()
