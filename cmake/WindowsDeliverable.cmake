# The Windows side of a deliverable: its executable carries its version block
# and icon and no symbols, and ships as a zip with a README and the licences,
# <name>-<version text>-win64.zip in the top of the build folder, and as a
# per-user installer of the same files, <name>-<version text>-win64.msi.
# `make package-windows` (the target package-windows) packs every
# deliverable's zip and installer.
include_guard(GLOBAL)
include(RequiredArguments)

# windows_deliverable(<target> RESOURCE <rc file> INSTALLER <wxs file> ICON <ico file>
#     VERSION_TEXT <text> FONT <face>)
#
# <target> is the deliverable's executable and names its files; RESOURCE is
# its version resource script; INSTALLER is the WiX source of its installer,
# which shows ICON; VERSION_TEXT and FONT are told in its README.
# Qt must be the one scripts/build-qt-windows.sh builds: the README names its
# Debian source and the zip carries its licence.
function(windows_deliverable target)
    set(keywords RESOURCE INSTALLER ICON VERSION_TEXT FONT)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "${keywords}" "")
    require_arguments("windows_deliverable(${target})" ARG ${keywords})
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    set(qt_licence "${QT6_INSTALL_PREFIX}/LICENSE.LGPL3")
    set(qt_source_file "${QT6_INSTALL_PREFIX}/DEBIAN-SOURCE-VERSION")
    if(NOT EXISTS "${qt_licence}" OR NOT EXISTS "${qt_source_file}")
        message(FATAL_ERROR "Qt in ${QT6_INSTALL_PREFIX} was not built by "
            "scripts/build-qt-windows.sh: the zips must name its source and carry its licence")
    endif()

    target_sources(${target} PRIVATE "${ARG_RESOURCE}")
    if(MINGW)
        target_link_options(${target} PRIVATE -s)
    endif()

    # What the README template reads.
    set(DELIVERABLE_NAME "${target}")
    set(DELIVERABLE_VERSION_TEXT "${ARG_VERSION_TEXT}")
    set(DELIVERABLE_FONT "${ARG_FONT}")
    set(QT_VERSION "${Qt6_VERSION}")
    file(STRINGS "${qt_source_file}" QT_DEBIAN_SOURCE_VERSION LIMIT_COUNT 1)
    string(MAKE_C_IDENTIFIER "${target}" symbol)
    set(readme "${CMAKE_CURRENT_BINARY_DIR}/${symbol}-README.txt")
    configure_file("${PROJECT_SOURCE_DIR}/packaging/windows-readme.txt.in" "${readme}" @ONLY)

    # Packed on every make package-windows: the time stamps inside come from
    # SOURCE_DATE_EPOCH, which the build cannot track.
    set(stem "${PROJECT_BINARY_DIR}/${target}-${ARG_VERSION_TEXT}-win64")
    set(files "$<TARGET_FILE:${target}>" "${readme}=README.txt"
        "${PROJECT_SOURCE_DIR}/LICENSE=LICENSE.txt" "${qt_licence}=LICENSE-Qt.txt")
    set(pack Python3::Interpreter "${PROJECT_SOURCE_DIR}/scripts/package-windows.py")
    add_custom_target(${symbol}_windows_zip
        COMMAND ${pack} "${stem}.zip" ${files}
        DEPENDS ${target}
        COMMENT "Packing ${target} for Windows"
        VERBATIM)
    add_custom_target(${symbol}_windows_installer
        COMMAND ${pack} "${stem}.msi" "${ARG_INSTALLER}" ${files} "${ARG_ICON}=program.ico"
        DEPENDS ${target}
        COMMENT "Building the installer of ${target}"
        VERBATIM)
    # What the tests rebuild it from, at another version.
    set_target_properties(${target} PROPERTIES DELIVERABLE_INSTALLER "${stem}.msi"
        DELIVERABLE_INSTALLER_INPUTS "${ARG_INSTALLER};${files};${ARG_ICON}=program.ico")
    if(NOT TARGET package-windows)
        add_custom_target(package-windows)
    endif()
    add_dependencies(package-windows ${symbol}_windows_zip ${symbol}_windows_installer)
endfunction()
