# The Windows release artefacts, built in the Windows tree's dist/ folder with every build, so
# that the tests which install and unpack them check what this build made:
#   Portmaven-<version>-win64.zip    Portmaven.exe, README.txt, LICENSE.txt
#   Portmaven-<version>-setup.exe    the per-user installer (Debian's NSIS)
# scripts/package.sh collects them with their checksums.
find_program(PORTMAVEN_MAKENSIS makensis REQUIRED)

set(PORTMAVEN_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
set(PORTMAVEN_ZIP ${PORTMAVEN_DIST_DIR}/Portmaven-${PROJECT_VERSION}-win64.zip)
set(PORTMAVEN_SETUP ${PORTMAVEN_DIST_DIR}/Portmaven-${PROJECT_VERSION}-setup.exe)

# The texts travel with Windows line ends, for whatever editor opens them there.
set(stage ${CMAKE_BINARY_DIR}/package-stage)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in ${stage}/README.txt
    @ONLY NEWLINE_STYLE WIN32)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt @ONLY NEWLINE_STYLE WIN32)

# The shipped executable carries no debug information; the build's own copy keeps it.
add_custom_command(OUTPUT ${stage}/Portmaven.exe
    COMMAND ${CMAKE_STRIP} --strip-debug -o ${stage}/Portmaven.exe $<TARGET_FILE:Portmaven>
    DEPENDS Portmaven
    VERBATIM)

add_custom_command(OUTPUT ${PORTMAVEN_ZIP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PORTMAVEN_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${PORTMAVEN_ZIP}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${PORTMAVEN_ZIP} --format=zip
        Portmaven.exe README.txt LICENSE.txt
    WORKING_DIRECTORY ${stage}
    DEPENDS ${stage}/Portmaven.exe ${stage}/README.txt ${stage}/LICENSE.txt
    COMMENT "Packing ${PORTMAVEN_ZIP}"
    VERBATIM)

set(nsi ${PROJECT_SOURCE_DIR}/packaging/windows/Portmaven.nsi)
set(icon ${PROJECT_SOURCE_DIR}/res/art/portmaven.ico)
add_custom_command(OUTPUT ${PORTMAVEN_SETUP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PORTMAVEN_DIST_DIR}
    COMMAND ${PORTMAVEN_MAKENSIS} -V2 -NOCD
        -DVERSION=${PROJECT_VERSION}
        -DOUT_FILE=${PORTMAVEN_SETUP}
        -DEXE=${stage}/Portmaven.exe
        -DICON=${icon}
        -DREADME=${stage}/README.txt
        -DLICENSE=${stage}/LICENSE.txt
        ${nsi}
    DEPENDS ${stage}/Portmaven.exe ${nsi} ${icon} ${stage}/README.txt ${stage}/LICENSE.txt
    COMMENT "Building ${PORTMAVEN_SETUP}"
    VERBATIM)

add_custom_target(portmaven_artefacts ALL DEPENDS ${PORTMAVEN_ZIP} ${PORTMAVEN_SETUP})
