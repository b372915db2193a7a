# Settings for the cross-compiled Windows tree: a Unicode build with a static runtime, so that
# Portmaven.exe needs no DLL beyond the system's.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00
    WINVER=0x0A00 NTDDI_VERSION=0x0A000006)
add_link_options(-static -static-libgcc -static-libstdc++)
enable_language(RC)

# portmaven_add_resources(<target>): compiles the program's resources into the target.
# windres reports no dependencies: every file the resource script pulls in is named, so that a
# changed subsystem script, picture or text header rebuilds the resources. Source properties
# are per directory, hence a function called where the target is made.
function(portmaven_add_resources target)
    set(script ${PROJECT_SOURCE_DIR}/res/Portmaven.rc)
    file(GLOB inputs CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/res/*.rc ${PROJECT_SOURCE_DIR}/res/*.h
        ${PROJECT_SOURCE_DIR}/res/*.manifest ${PROJECT_SOURCE_DIR}/res/art/*.bmp
        ${PROJECT_SOURCE_DIR}/res/art/*.ico ${PROJECT_SOURCE_DIR}/res/art/*.cur
        ${PROJECT_SOURCE_DIR}/src/about/about_texts.h
        ${PROJECT_BINARY_DIR}/generated/portmaven_version.h)
    set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${inputs}")
    target_sources(${target} PRIVATE ${script})
endfunction()
