# project_sanitizers: instrumentation of our own targets, chosen by the two
# options below; Qt stays as the system ships it. The lowest library links
# it publicly, so every program and test built on it is compiled and linked
# the same way.
include_guard(GLOBAL)

option(TALLYBELL_SANITIZE "Build our own targets with AddressSanitizer and UBSan" OFF)
option(TALLYBELL_FUZZ "Also build the libFuzzer targets in fuzz/ (needs clang)" OFF)

add_library(project_sanitizers INTERFACE)
set(sanitizer_flags)
if(TALLYBELL_SANITIZE)
    list(APPEND sanitizer_flags -fsanitize=address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
endif()
if(TALLYBELL_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TALLYBELL_FUZZ needs clang++ (libFuzzer)")
    endif()
    # Coverage for the fuzzer in the library; the fuzz targets add the driver.
    list(APPEND sanitizer_flags -fsanitize=fuzzer-no-link,address,undefined
        -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
endif()
list(REMOVE_DUPLICATES sanitizer_flags)
target_compile_options(project_sanitizers INTERFACE ${sanitizer_flags})
if(TALLYBELL_SANITIZE)
    # A debug build keeps its assertions; -O1 makes it several times faster
    # under the sanitizers while keeping stack traces exact enough.
    target_compile_options(project_sanitizers INTERFACE $<$<CONFIG:Debug>:-O1>)
endif()
target_link_options(project_sanitizers INTERFACE ${sanitizer_flags})
