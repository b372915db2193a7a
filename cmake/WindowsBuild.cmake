# Settings for the cross-compiled Windows tree: a Unicode build with a static runtime, so that
# Portmaven.exe needs no DLL beyond the system's.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00
    WINVER=0x0A00 NTDDI_VERSION=0x0A000006)
add_link_options(-static -static-libgcc -static-libstdc++)
enable_language(RC)
