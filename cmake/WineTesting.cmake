# Running the cross-compiled tests under Wine, from ctest.
#
# Every Windows test executable runs through wine-run.sh (the CROSSCOMPILING_EMULATOR), which
# uses a Wine prefix private to this build tree and a virtual X display. The fixture tests
# wine.start / wine.stop create the prefix once per build tree, start Xvfb when no display is
# given and stop both again.
find_program(PORTMAVEN_WINE wine REQUIRED)
find_program(PORTMAVEN_WINESERVER wineserver REQUIRED)

set(PORTMAVEN_WINE_STATE_DIR ${CMAKE_BINARY_DIR}/wine)
set(PORTMAVEN_WINEPREFIX ${PORTMAVEN_WINE_STATE_DIR}/prefix)
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
    @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

add_test(NAME wine.start COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh --start-session)
add_test(NAME wine.stop COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh --stop-session)
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# The second prefix, for tests run at other display scalings (portmaven_add_wine_dpi_test).
add_test(NAME wine.dpi.start COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh --start-session)
add_test(NAME wine.dpi.stop COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh --stop-session)
set_tests_properties(wine.dpi.start PROPERTIES FIXTURES_SETUP wine-dpi FIXTURES_REQUIRED wine
    ENVIRONMENT PORTMAVEN_WINE_DPI=96 RESOURCE_LOCK wine-dpi TIMEOUT 300)
set_tests_properties(wine.dpi.stop PROPERTIES FIXTURES_CLEANUP wine-dpi
    ENVIRONMENT PORTMAVEN_WINE_DPI=96 RESOURCE_LOCK wine-dpi TIMEOUT 60)

# GoogleTest built from Debian's sources with the mingw toolchain.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The test's arguments (ARG_ARGS and the gtest filter) in `args`, and its timeout (120 s unless
# given), from the parsed ARG_ variables of the calling function.
macro(_portmaven_wine_test_args)
    set(args ${ARG_ARGS})
    if(ARG_FILTER)
        list(APPEND args --gtest_filter=${ARG_FILTER})
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
endmacro()

# portmaven_add_wine_test(NAME <ctest name> COMMAND <target> [ARGS ...] [FILTER <gtest filter>]
#                         [TIMEOUT seconds] [LOCKS resource ...])
function(portmaven_add_wine_test)
    cmake_parse_arguments(ARG "" "NAME;COMMAND;FILTER;TIMEOUT" "ARGS;LOCKS" ${ARGN})
    _portmaven_wine_test_args()
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND} ${args})
    set_tests_properties(${ARG_NAME} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${ARG_TIMEOUT})
    if(ARG_LOCKS)
        set_tests_properties(${ARG_NAME} PROPERTIES RESOURCE_LOCK "${ARG_LOCKS}")
    endif()
endfunction()

# portmaven_add_wine_dpi_test(NAME <ctest name> COMMAND <target> DPI <dots per inch>
#                             [FILTER <gtest filter>] [TIMEOUT seconds])
# Runs the test in the second prefix with Wine's display scaling at DPI (96 is 100 %); the test
# sees the value in PORTMAVEN_WINE_DPI.
function(portmaven_add_wine_dpi_test)
    cmake_parse_arguments(ARG "" "NAME;COMMAND;FILTER;TIMEOUT;DPI" "ARGS" ${ARGN})
    _portmaven_wine_test_args()
    add_test(NAME ${ARG_NAME}
        COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh $<TARGET_FILE:${ARG_COMMAND}> ${args})
    set_tests_properties(${ARG_NAME} PROPERTIES FIXTURES_REQUIRED "wine;wine-dpi"
        ENVIRONMENT PORTMAVEN_WINE_DPI=${ARG_DPI} RESOURCE_LOCK wine-dpi TIMEOUT ${ARG_TIMEOUT})
endfunction()
