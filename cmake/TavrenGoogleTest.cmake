# GoogleTest for the tests. Debian's libgtest-dev holds Linux libraries only, so a
# cross build compiles GoogleTest itself from the sources that Debian's
# googletest package installs, with the same compiler as the tests.
if(CMAKE_CROSSCOMPILING)
    set(TAVREN_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
    if(NOT EXISTS ${TAVREN_GOOGLETEST_SOURCE}/CMakeLists.txt)
        message(FATAL_ERROR "no GoogleTest sources in ${TAVREN_GOOGLETEST_SOURCE} "
                            "(Debian: apt-get install googletest)")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${TAVREN_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Third-party code: its warnings are not ours to fix.
    foreach(lib gtest gtest_main gmock gmock_main)
        target_compile_options(${lib} PRIVATE -w)
        if(NOT TARGET GTest::${lib})
            add_library(GTest::${lib} ALIAS ${lib})
        endif()
    endforeach()
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# Registers a GoogleTest executable with ctest. Natively every test case is its
# own ctest test. Under an emulator (Wine) one process start costs about as much
# as a whole executable's run, so each executable is one ctest test there, and
# its output names the failing cases.
#   tavren_add_gtests(target [PREFIX name.] [PROPERTIES prop value ...])
function(tavren_add_gtests target)
    cmake_parse_arguments(ARG "" "PREFIX" "PROPERTIES" ${ARGN})
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${ARG_PREFIX}${target} COMMAND ${target} --gtest_color=no)
        if(ARG_PROPERTIES)
            set_tests_properties(${ARG_PREFIX}${target} PROPERTIES ${ARG_PROPERTIES})
        endif()
    else()
        gtest_discover_tests(${target} TEST_PREFIX "${ARG_PREFIX}" DISCOVERY_MODE PRE_TEST
                             PROPERTIES ${ARG_PROPERTIES})
    endif()
endfunction()
