# Warning flags shared by every target of the project (not by third-party code).
add_library(portmaven_warnings INTERFACE)
target_compile_options(portmaven_warnings INTERFACE -Wall -Wextra -Wshadow -Wpedantic
    -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual)
# Win32 macros (MAKEINTRESOURCE, LOWORD, RGB) are C casts; keep the check for the portable core.
if(NOT WIN32)
    target_compile_options(portmaven_warnings INTERFACE -Wold-style-cast)
endif()
if(PORTMAVEN_WARNINGS_AS_ERRORS)
    target_compile_options(portmaven_warnings INTERFACE -Werror)
endif()
