# require_arguments(<caller> <prefix> <keyword>...): stops the configuration
# when the caller's parsed arguments (<prefix>_<keyword>, as
# cmake_parse_arguments sets them) lack one of the keywords.
include_guard(GLOBAL)

function(require_arguments caller prefix)
    foreach(keyword IN LISTS ARGN)
        if(NOT DEFINED ${prefix}_${keyword})
            message(FATAL_ERROR "${caller}: ${keyword} is missing")
        endif()
    endforeach()
endfunction()
