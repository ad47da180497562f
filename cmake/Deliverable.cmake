# A deliverable: the program under one set of build settings, and all that
# is generated from those settings for Linux, Debian and Windows.
include_guard(GLOBAL)

include(GNUInstallDirs)
include(RequiredArguments)
include(DebianTexts)
include(WindowsDeliverable)

# add_deliverable(<file name>
#     ID <id> VERSION <a.b.c.d> VERSION_TEXT <text>
#     FONT <face> FONT_POINTS <points> LABEL12_TOP <twips>
#     COMPANY <name> PRODUCT <name> COMMENT <text>
#     ID_PREFIX <reverse DNS> SUMMARY <text> RELEASE_DATE <yyyy-mm-dd>
#     ICONS <folder> ICON_SIZES <pixels>...
#     MAINTAINER <name and mail> PREFIX <folder> UPGRADE_CODE <GUID>
#     MAIN <source> SETTINGS_TEMPLATE <template> LINK <library>)
#
# <file name> names the executable target, its file on every system and, in
# lower case, its Debian package. ID, after ID_PREFIX, makes the reverse-DNS
# application id. VERSION is the numeric version of the Windows version
# block; VERSION_TEXT is the version the program, its metainfo and its
# package report. FONT, FONT_POINTS and LABEL12_TOP are the look of the main
# window. COMPANY (in the program, the version block and the metainfo),
# PRODUCT (the version block, the manual page and the package) and COMMENT
# (the version block) say whose it is; SUMMARY is the one line of the
# desktop entry, the metainfo and the package; RELEASE_DATE dates the
# metainfo, the manual page and the changelog.
# ICONS is the folder of program.ico, program.svg and program-<size>.png for
# every size of ICON_SIZES. MAINTAINER is named in the changelog and the
# copyright file; PREFIX is where the package installs, which the manual
# page names. UPGRADE_CODE is the GUID by which Windows Installer knows every
# version of the deliverable: written once, never changed. The executable is
# MAIN with the settings generated from SETTINGS_TEMPLATE, on LINK.
#
# The templates read these settings as DELIVERABLE_<keyword>, along with
# what is made of them (DELIVERABLE_NAME, _SYMBOL, _PACKAGE, _DESKTOP_ID,
# _ICON, _VERSION_COMMAS, _MAN_NAME, _CHANGELOG_DATE, _PRODUCT_CODE and the
# installer's component GUIDs _<component>_GUID); the copyright file
# also reads COPYRIGHT_HOLDERS and LICENSE_TEXT from LICENSE. The target carries
# the properties DELIVERABLE_ID (the application id), DELIVERABLE_PACKAGE, the
# settings DELIVERABLE_VERSION, _VERSION_TEXT, _COMPANY, _PRODUCT, _COMMENT,
# _RELEASE_DATE, _ICON_SIZES and _UPGRADE_CODE, DELIVERABLE_TEXTS (the
# desktop entry, metainfo, manual page, changelog and copyright file made
# from the templates),
# DELIVERABLE_RESOURCE, DELIVERABLE_SETTINGS (the generated source),
# DELIVERABLE_PACKAGE_CONFIG and DELIVERABLE_DOCS (the target compressing its
# documents), and its name is added to the global property DELIVERABLES: the
# one list of deliverables, which the packages and tests go through.
function(add_deliverable name)
    set(one_value_keywords ID VERSION VERSION_TEXT FONT FONT_POINTS LABEL12_TOP
        COMPANY PRODUCT COMMENT ID_PREFIX SUMMARY RELEASE_DATE ICONS
        MAINTAINER PREFIX UPGRADE_CODE MAIN SETTINGS_TEMPLATE LINK)
    cmake_parse_arguments(PARSE_ARGV 1 DELIVERABLE "" "${one_value_keywords}" "ICON_SIZES")
    if(DEFINED DELIVERABLE_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "add_deliverable(${name}): unknown '${DELIVERABLE_UNPARSED_ARGUMENTS}'")
    endif()
    require_arguments("add_deliverable(${name})" DELIVERABLE ${one_value_keywords} ICON_SIZES)
    if(NOT DELIVERABLE_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
        message(FATAL_ERROR "${name}: VERSION must have four numbers, got '${DELIVERABLE_VERSION}'")
    endif()
    set(DELIVERABLE_NAME "${name}")
    string(MAKE_C_IDENTIFIER "${name}" DELIVERABLE_SYMBOL)
    string(TOLOWER "${name}" DELIVERABLE_PACKAGE)
    set(DELIVERABLE_DESKTOP_ID "${DELIVERABLE_ID_PREFIX}.${DELIVERABLE_ID}")
    set(DELIVERABLE_ICON "${DELIVERABLE_ICONS}/program.ico")
    string(REPLACE "." "," DELIVERABLE_VERSION_COMMAS "${DELIVERABLE_VERSION}")
    string(REPLACE "-" "\\-" DELIVERABLE_MAN_NAME "${name}")
    # The installer's other GUIDs follow from the upgrade code, never drawn at
    # random: a product code per version, a GUID per component.
    string(UUID DELIVERABLE_PRODUCT_CODE NAMESPACE "${DELIVERABLE_UPGRADE_CODE}"
        NAME "product ${DELIVERABLE_VERSION}" TYPE SHA1 UPPER)
    foreach(component PROGRAM SHORTCUT USER_PROGRAMS)
        string(UUID DELIVERABLE_${component}_GUID NAMESPACE "${DELIVERABLE_UPGRADE_CODE}"
            NAME "component ${component}" TYPE SHA1 UPPER)
    endforeach()
    debian_changelog_date(${DELIVERABLE_RELEASE_DATE} DELIVERABLE_CHANGELOG_DATE)
    debian_copyright_license("${PROJECT_SOURCE_DIR}/LICENSE" COPYRIGHT_HOLDERS LICENSE_TEXT)

    set(templates "${PROJECT_SOURCE_DIR}/packaging")
    set(settings "${CMAKE_CURRENT_BINARY_DIR}/${DELIVERABLE_SYMBOL}_settings.cpp")
    set(resource "${CMAKE_CURRENT_BINARY_DIR}/${DELIVERABLE_SYMBOL}.rc")
    set(DELIVERABLE_MANIFEST "${CMAKE_CURRENT_BINARY_DIR}/${DELIVERABLE_SYMBOL}.manifest")
    set(desktop_entry "${CMAKE_CURRENT_BINARY_DIR}/${DELIVERABLE_DESKTOP_ID}.desktop")
    set(metainfo "${CMAKE_CURRENT_BINARY_DIR}/${DELIVERABLE_DESKTOP_ID}.metainfo.xml")
    set(package_config "${PROJECT_BINARY_DIR}/CPackConfig-${DELIVERABLE_SYMBOL}.cmake")
    set(installer "${CMAKE_CURRENT_BINARY_DIR}/${DELIVERABLE_SYMBOL}.wxs")
    configure_file("${DELIVERABLE_SETTINGS_TEMPLATE}" "${settings}" @ONLY)
    configure_file("${templates}/program.manifest.in" "${DELIVERABLE_MANIFEST}" @ONLY)
    configure_file("${templates}/version.rc.in" "${resource}" @ONLY)
    configure_file("${templates}/deliverable.desktop.in" "${desktop_entry}" @ONLY)
    configure_file("${templates}/deliverable.metainfo.xml.in" "${metainfo}" @ONLY)
    configure_file("${templates}/package.cmake.in" "${package_config}" @ONLY)
    configure_file("${templates}/installer.wxs.in" "${installer}" @ONLY)
    # The documents of the package; the manual page and the changelog are
    # compressed as Debian ships them (-n: no name or time stamp, so that
    # the packages are reproducible).
    set(docs "${CMAKE_CURRENT_BINARY_DIR}/${DELIVERABLE_PACKAGE}")
    configure_file("${templates}/manual.1.in" "${docs}/${name}.1" @ONLY)
    configure_file("${templates}/changelog.in" "${docs}/changelog" @ONLY)
    configure_file("${templates}/copyright.in" "${docs}/copyright" @ONLY)
    find_program(GZIP_PROGRAM gzip REQUIRED)
    add_custom_command(OUTPUT "${docs}/${name}.1.gz" "${docs}/changelog.gz"
        COMMAND "${GZIP_PROGRAM}" -9nkf ${name}.1 changelog
        WORKING_DIRECTORY "${docs}"
        DEPENDS "${docs}/${name}.1" "${docs}/changelog"
        COMMENT "Compressing the manual page and changelog of ${name}"
        VERBATIM)
    add_custom_target(${DELIVERABLE_SYMBOL}_docs ALL
        DEPENDS "${docs}/${name}.1.gz" "${docs}/changelog.gz")

    qt_add_executable(${name} WIN32 "${DELIVERABLE_MAIN}" "${settings}")
    if(WIN32)
        windows_deliverable(${name} RESOURCE "${resource}" INSTALLER "${installer}"
            ICON "${DELIVERABLE_ICON}" VERSION_TEXT "${DELIVERABLE_VERSION_TEXT}"
            FONT "${DELIVERABLE_FONT}")
    endif()
    target_compile_definitions(${name} PRIVATE DELIVERABLE=${DELIVERABLE_SYMBOL})
    target_link_libraries(${name} PRIVATE ${DELIVERABLE_LINK} project_warnings project_hardening)
    set_target_properties(${name} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/bin"
        POSITION_INDEPENDENT_CODE ON
        # Qt and everything else it links are in the system's library path;
        # qt_standard_project_setup() would add $ORIGIN to the installed one.
        INSTALL_RPATH ""
        DELIVERABLE_ID "${DELIVERABLE_DESKTOP_ID}"
        DELIVERABLE_PACKAGE "${DELIVERABLE_PACKAGE}"
        DELIVERABLE_VERSION "${DELIVERABLE_VERSION}"
        DELIVERABLE_VERSION_TEXT "${DELIVERABLE_VERSION_TEXT}"
        DELIVERABLE_COMPANY "${DELIVERABLE_COMPANY}"
        DELIVERABLE_PRODUCT "${DELIVERABLE_PRODUCT}"
        DELIVERABLE_COMMENT "${DELIVERABLE_COMMENT}"
        DELIVERABLE_RELEASE_DATE "${DELIVERABLE_RELEASE_DATE}"
        DELIVERABLE_ICON_SIZES "${DELIVERABLE_ICON_SIZES}"
        DELIVERABLE_UPGRADE_CODE "${DELIVERABLE_UPGRADE_CODE}"
        DELIVERABLE_TEXTS "${desktop_entry};${metainfo};${docs}/${name}.1;${docs}/changelog;${docs}/copyright"
        DELIVERABLE_RESOURCE "${resource}"
        DELIVERABLE_SETTINGS "${settings}"
        DELIVERABLE_PACKAGE_CONFIG "${package_config}"
        DELIVERABLE_DOCS ${DELIVERABLE_SYMBOL}_docs)
    set_property(GLOBAL APPEND PROPERTY DELIVERABLES ${name})

    install(TARGETS ${name}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${DELIVERABLE_SYMBOL})
    install(FILES "${desktop_entry}"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT ${DELIVERABLE_SYMBOL})
    foreach(size IN LISTS DELIVERABLE_ICON_SIZES)
        install(FILES "${DELIVERABLE_ICONS}/program-${size}.png"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${DELIVERABLE_DESKTOP_ID}.png
            COMPONENT ${DELIVERABLE_SYMBOL})
    endforeach()
    install(FILES "${DELIVERABLE_ICONS}/program.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${DELIVERABLE_DESKTOP_ID}.svg
        COMPONENT ${DELIVERABLE_SYMBOL})
    install(FILES "${metainfo}"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT ${DELIVERABLE_SYMBOL})
    install(FILES "${docs}/${name}.1.gz"
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${DELIVERABLE_SYMBOL})
    install(FILES "${docs}/changelog.gz" "${docs}/copyright" "${PROJECT_SOURCE_DIR}/README.md"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${DELIVERABLE_PACKAGE}
        COMPONENT ${DELIVERABLE_SYMBOL})
endfunction()
