# Checks over the source tree itself, run by ctest with the native tests.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# Includes follow the layers: host -> subsystems' platform code -> framework -> portable core.
add_test(NAME lint.layers
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check_layers.py
        ${PROJECT_SOURCE_DIR}/src)
# ... and the check itself catches each kind of wrong include.
add_test(NAME lint.layers.self_test
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check_layers.py --self-test)
