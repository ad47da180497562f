# Facts of the project as the texts of a Debian package write them: the date
# of a changelog entry, and LICENSE as the licence of a machine-readable
# copyright file.
include_guard(GLOBAL)

# debian_changelog_date(<yyyy-mm-dd> <out-var>)
#
# "2026-12-07" as a Debian changelog writes dates: "Mon, 07 Dec 2026 12:00:00
# +0000" (at noon UTC, the same date in nearly every zone).
function(debian_changelog_date iso out)
    if(NOT iso MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
        message(FATAL_ERROR "not a date: '${iso}'")
    endif()
    set(day ${CMAKE_MATCH_3})
    math(EXPR month "${CMAKE_MATCH_2}")
    math(EXPR year "${CMAKE_MATCH_1}")
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    math(EXPR index "${month} - 1")
    list(GET months ${index} month_name)
    # Zeller's congruence counts January and February as months 13 and 14
    # of the year before.
    if(month LESS 3)
        math(EXPR month "${month} + 12")
        math(EXPR year "${year} - 1")
    endif()
    math(EXPR weekday "(${day} + 13 * (${month} + 1) / 5 + ${year} + ${year} / 4 - ${year} / 100 + ${year} / 400) % 7")
    set(weekdays Sat Sun Mon Tue Wed Thu Fri)
    list(GET weekdays ${weekday} weekday_name)
    set(${out} "${weekday_name}, ${day} ${month_name} ${CMAKE_MATCH_1} 12:00:00 +0000" PARENT_SCOPE)
endfunction()

# debian_copyright_license(<licence file> <holders-var> <text-var>)
#
# The holders named in the licence file's "Copyright (c)" notice, and the
# permission below the notice as a copyright file's License field carries
# it: every line indented by one space, blank lines as " .". The build is
# configured again when the file changes.
function(debian_copyright_license file holders_out text_out)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
    file(READ "${file}" licence)
    if(NOT licence MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.+)$")
        message(FATAL_ERROR "${file}: no copyright notice followed by the licence")
    endif()
    set(${holders_out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    string(STRIP "${CMAKE_MATCH_2}" text)
    string(REPLACE "\n\n" "\n.\n" text "${text}")
    string(REPLACE "\n" "\n " text " ${text}")
    set(${text_out} "${text}" PARENT_SCOPE)
endfunction()
