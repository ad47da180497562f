# Included by ctest for a suite of add_qt_suite(... EACH_IN_ITS_PROCESS): adds
# one entry <suite>.<function>[_<row>] per test function and data row that the
# suite lists (-datatags), each running that function or row alone.
# Set before: suite (its name), executable, emulator (may be empty), and the
# entries' environment, timeout and labels.
if(NOT EXISTS "${executable}")
    add_test(${suite}_NOT_BUILT ${suite}_NOT_BUILT)
    return()
endif()
set(command ${emulator} "${executable}")
foreach(variable IN LISTS environment)
    string(REGEX MATCH "^([^=]*)=(.*)$" variable "${variable}")
    set(ENV{${CMAKE_MATCH_1}} "${CMAKE_MATCH_2}")
endforeach()
execute_process(COMMAND ${command} -datatags
    OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status)
string(REPLACE "\r" "" listing "${listing}")
string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(runs)
foreach(line IN LISTS lines)
    # "Class function[ row]" runs as "function[:row]"
    if(line MATCHES "^[A-Za-z_][A-Za-z0-9_]* ([A-Za-z_][A-Za-z0-9_]*) (.*)$")
        list(APPEND runs "${CMAKE_MATCH_1}:${CMAKE_MATCH_2}")
    elseif(line MATCHES "^[A-Za-z_][A-Za-z0-9_]* ([A-Za-z_][A-Za-z0-9_]*)$")
        list(APPEND runs "${CMAKE_MATCH_1}")
    endif()
endforeach()
if(NOT status EQUAL 0 OR NOT runs)
    # An entry that fails and shows why.
    add_test(${suite}.lists_its_functions ${command} -datatags)
    set_tests_properties(${suite}.lists_its_functions PROPERTIES
        ENVIRONMENT "${environment}" TIMEOUT ${timeout} LABELS "${labels}")
    return()
endif()
foreach(run IN LISTS runs)
    string(MAKE_C_IDENTIFIER "${run}" entry)
    add_test(${suite}.${entry} ${command} "${run}")
    # A suite that leaves early, even with status 0, did not pass.
    set_tests_properties(${suite}.${entry} PROPERTIES
        ENVIRONMENT "${environment}" TIMEOUT ${timeout} LABELS "${labels}"
        PASS_REGULAR_EXPRESSION "Totals: [0-9]+ passed, 0 failed")
endforeach()
