# project_warnings: the compiler warnings of our own targets. Qt and other
# libraries keep theirs.
include_guard(GLOBAL)

add_library(project_warnings INTERFACE)
if(MSVC)
    target_compile_options(project_warnings INTERFACE /W4)
else()
    target_compile_options(project_warnings INTERFACE -Wall -Wextra -Wpedantic)
endif()
