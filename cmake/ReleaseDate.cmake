# The release date, from the top of CHANGELOG, whose first line names the release this tree is:
# "tamapick 1.0.0.7 (2026-12-08)". The AppStream record and the manual page are made from it.
#   TAMAPICK_RELEASE_DATE        2026-12-08
#   TAMAPICK_RELEASE_MONTH_YEAR  December 2026
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG tamapick_changelog_top LIMIT_COUNT 1)
string(REPLACE "." "\\." tamapick_version_pattern "${PROJECT_VERSION}")
if(NOT tamapick_changelog_top MATCHES "^tamapick ${tamapick_version_pattern} \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
  message(FATAL_ERROR "CHANGELOG begins with \"${tamapick_changelog_top}\": its first line names the release, "
    "\"tamapick ${PROJECT_VERSION} (YYYY-MM-DD)\"")
endif()
set(TAMAPICK_RELEASE_DATE "${CMAKE_MATCH_1}-${CMAKE_MATCH_2}-${CMAKE_MATCH_3}")
set(tamapick_months January February March April May June July August September October November December)
math(EXPR tamapick_month_index "${CMAKE_MATCH_2} - 1")
list(GET tamapick_months ${tamapick_month_index} tamapick_month)
set(TAMAPICK_RELEASE_MONTH_YEAR "${tamapick_month} ${CMAKE_MATCH_1}")
