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

# debian/changelog cannot be made from CHANGELOG (Debian's tools read it as it stands), so its top
# entry is held against it: the same version, dated the same day. A stable release's build adds
# an entry of its own on top (1.0.0.7~deb12u1: scripts/debian-release-check.sh), a second later.
file(STRINGS ${PROJECT_SOURCE_DIR}/debian/changelog tamapick_debian_top LIMIT_COUNT 1)
file(STRINGS ${PROJECT_SOURCE_DIR}/debian/changelog tamapick_debian_trailer REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX MATCH "[0-9][0-9] [A-Z][a-z][a-z] [0-9][0-9][0-9][0-9]" tamapick_debian_day "${tamapick_debian_trailer}")
string(SUBSTRING "${tamapick_month}" 0 3 tamapick_month_short)
string(SUBSTRING "${TAMAPICK_RELEASE_DATE}" 8 2 tamapick_release_day)
string(SUBSTRING "${TAMAPICK_RELEASE_DATE}" 0 4 tamapick_release_year)
if(NOT tamapick_debian_top MATCHES "^tamapick \\(${tamapick_version_pattern}(~deb[0-9]+u[0-9]+)?\\) "
   OR NOT tamapick_debian_day STREQUAL "${tamapick_release_day} ${tamapick_month_short} ${tamapick_release_year}")
  message(FATAL_ERROR "debian/changelog's top entry (\"${tamapick_debian_top}\", \"${tamapick_debian_trailer}\") "
    "is not tamapick ${PROJECT_VERSION} of ${TAMAPICK_RELEASE_DATE}, the release CHANGELOG begins with")
endif()
