# project_windows_runtime: a Windows executable of ours needs no DLL that
# Windows lacks: the C and C++ runtimes and Qt are linked in, and of them
# only the code it calls. Its link carries no time stamp, so that the same
# sources give the same file. Elsewhere it adds nothing.
include_guard(GLOBAL)

add_library(project_windows_runtime INTERFACE)
if(MINGW)
    target_compile_options(project_windows_runtime INTERFACE -ffunction-sections -fdata-sections)
    target_link_options(project_windows_runtime INTERFACE
        -static LINKER:--gc-sections LINKER:--no-insert-timestamp)
endif()
