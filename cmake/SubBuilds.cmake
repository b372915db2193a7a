# The native tree drives the Windows and fuzz trees as external projects and folds their tests
# into its own CTestTestfile, so that one `ctest` runs every test of every toolchain.
include(ExternalProject)

set(portmaven_test_includes "")

function(portmaven_add_sub_build name)
    cmake_parse_arguments(ARG "" "" "CMAKE_ARGS" ${ARGN})
    set(binary_dir ${CMAKE_BINARY_DIR}/${name})
    ExternalProject_Add(portmaven_${name}
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${binary_dir}
        CMAKE_GENERATOR ${CMAKE_GENERATOR}
        CMAKE_ARGS -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
                   -DPORTMAVEN_WARNINGS_AS_ERRORS=${PORTMAVEN_WARNINGS_AS_ERRORS}
                   ${ARG_CMAKE_ARGS}
        BUILD_ALWAYS ON
        INSTALL_COMMAND ""
        USES_TERMINAL_BUILD ON)
    file(APPEND ${CMAKE_BINARY_DIR}/SubBuildTests.cmake "subdirs(\"${binary_dir}\")\n")
endfunction()

file(WRITE ${CMAKE_BINARY_DIR}/SubBuildTests.cmake "")
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY
    TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/SubBuildTests.cmake)

if(PORTMAVEN_WITH_WINDOWS)
    find_program(PORTMAVEN_MINGW_CXX x86_64-w64-mingw32-g++-posix REQUIRED)
    portmaven_add_sub_build(windows CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-mingw64.cmake)
endif()

if(PORTMAVEN_WITH_FUZZ)
    find_program(PORTMAVEN_CLANGXX clang++ REQUIRED)
    portmaven_add_sub_build(fuzz CMAKE_ARGS
        -DCMAKE_CXX_COMPILER=${PORTMAVEN_CLANGXX} -DPORTMAVEN_FUZZ=ON)
endif()
