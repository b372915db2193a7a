# Checks over the source tree itself, run by ctest with the native tests.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# Includes follow the layers: host -> subsystems' platform code -> framework -> portable core.
add_test(NAME lint.layers
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check_layers.py
        ${PROJECT_SOURCE_DIR}/src)
# ... and the check itself catches each kind of wrong include.
add_test(NAME lint.layers.self_test
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check_layers.py --self-test)

# clang-tidy over every toolchain's sources of this build; any finding fails.
find_program(PORTMAVEN_CLANG_TIDY clang-tidy REQUIRED)
set(portmaven_tidy_trees --native ${CMAKE_BINARY_DIR})
if(PORTMAVEN_WITH_WINDOWS)
    list(APPEND portmaven_tidy_trees --windows ${CMAKE_BINARY_DIR}/windows)
endif()
add_test(NAME lint.tidy COMMAND ${PROJECT_SOURCE_DIR}/scripts/tidy.sh ${portmaven_tidy_trees})
set_tests_properties(lint.tidy PROPERTIES TIMEOUT 600)
