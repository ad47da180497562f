# The Debian packages, one per deliverable: CPackCommon.cmake holds what they
# share, each deliverable's CPackConfig-<deliverable>.cmake (made by
# add_deliverable) adds its own name and version. The target `package`
# makes them all.
include_guard(GLOBAL)
include(RequiredArguments)

# add_debian_packages(VENDOR <name> CONTACT <maintainer> SUMMARY <text> PREFIX <folder>)
#
# After the last add_deliverable(): CPack takes the install components
# known when it is set up.
function(add_debian_packages)
    set(keywords VENDOR CONTACT SUMMARY PREFIX)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "" "${keywords}" "")
    require_arguments(add_debian_packages ARG ${keywords})

    set(CPACK_OUTPUT_CONFIG_FILE "${PROJECT_BINARY_DIR}/CPackCommon.cmake")
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_VENDOR "${ARG_VENDOR}")
    set(CPACK_PACKAGE_CONTACT "${ARG_CONTACT}")
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${ARG_SUMMARY}")
    set(CPACK_PACKAGING_INSTALL_PREFIX "${ARG_PREFIX}")
    set(CPACK_STRIP_FILES ON)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
    # The Qt libraries, by what the executable links; the X11 platform plugin
    # comes with libqt6gui6.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Liberation Sans stands in for Arial, the font of the sentence.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
    include(CPack)

    get_property(deliverables GLOBAL PROPERTY DELIVERABLES)
    set(commands)
    set(docs)
    foreach(deliverable IN LISTS deliverables)
        get_target_property(config ${deliverable} DELIVERABLE_PACKAGE_CONFIG)
        get_target_property(deliverable_docs ${deliverable} DELIVERABLE_DOCS)
        list(APPEND commands COMMAND ${CMAKE_CPACK_COMMAND} --config "${config}")
        list(APPEND docs ${deliverable_docs})
    endforeach()
    add_custom_target(package
        ${commands}
        WORKING_DIRECTORY "${PROJECT_BINARY_DIR}"
        COMMENT "Making the Debian packages"
        VERBATIM)
    add_dependencies(package ${deliverables} ${docs})
endfunction()
