# project_hardening: the shipped code hardened as Debian builds its
# packages: stack protector, fortified libc calls where the optimiser can
# see the sizes, position-independent executables (POSITION_INDEPENDENT_CODE
# on the executables), read-only relocations and immediate binding.
include_guard(GLOBAL)

include(CheckPIESupported)
check_pie_supported()
add_library(project_hardening INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
    target_compile_options(project_hardening INTERFACE
        -fstack-protector-strong
        -Wformat -Werror=format-security
        "$<${optimised}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
    if(NOT WIN32 AND NOT APPLE)
        target_link_options(project_hardening INTERFACE LINKER:-z,relro,-z,now)
    endif()
    if(MINGW)
        # MinGW's stack protector lives in libssp, which only the driver adds.
        target_link_options(project_hardening INTERFACE -fstack-protector-strong)
    endif()
endif()
