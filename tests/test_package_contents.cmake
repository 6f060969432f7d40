# Reads the Debian package back with dpkg-deb and checks what apt will see: its name and version,
# its exact file list, and control fields whose slips would break installing it or leave the
# program without its fonts (a hand-written or missing Depends, a lost Recommends), and a version
# that is the program's own (debian/changelog's latest entry, which a release must keep in step).
#   cmake -DPACKAGE_DIR=... -DVERSION=... -DAPP_ID=... -DICON_SIZES=... -P this file

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(package ${PACKAGE_DIR}/tamapick_${VERSION}_${arch}.deb)
if(NOT EXISTS ${package})
  file(GLOB found ${PACKAGE_DIR}/*.deb)
  message(FATAL_ERROR "no ${package}; the build made: ${found}")
endif()

function(dpkg_deb option out)
  execute_process(COMMAND dpkg-deb ${option} ${package} RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb ${option} failed:\n${output}")
  endif()
  set(${out} "${output}" PARENT_SCOPE)
endfunction()

# The files, exactly: every one of them in place, and nothing else.
set(expected
  ./usr/games/tamapick
  ./usr/share/applications/${APP_ID}.desktop
  ./usr/share/doc/tamapick/changelog.Debian.gz
  ./usr/share/doc/tamapick/changelog.gz
  ./usr/share/doc/tamapick/copyright
  ./usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg
  ./usr/share/man/man6/tamapick.6.gz
  ./usr/share/metainfo/${APP_ID}.metainfo.xml
)
foreach(side IN LISTS ICON_SIZES)
  list(APPEND expected ./usr/share/icons/hicolor/${side}x${side}/apps/${APP_ID}.png)
endforeach()
list(SORT expected)

dpkg_deb(--contents listing)
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" entries "${listing}")
set(files)
foreach(entry IN LISTS entries)
  # permissions owner/group size date time path
  if(NOT entry MATCHES "^([-d])[-rwx]+ root/root +[0-9]+ [0-9-]+ [0-9:]+ (.+)$")
    message(SEND_ERROR "not a plain file or folder owned by root: ${entry}")
  elseif(CMAKE_MATCH_1 STREQUAL "-")
    list(APPEND files ${CMAKE_MATCH_2})
  endif()
endforeach()
list(SORT files)
if(NOT files STREQUAL expected)
  string(REPLACE ";" "\n  " files_text "${files}")
  string(REPLACE ";" "\n  " expected_text "${expected}")
  message(SEND_ERROR "the package holds:\n  ${files_text}\nexpected:\n  ${expected_text}")
else()
  list(LENGTH files count)
  message(STATUS "${count} files, as expected")
endif()

# The control fields, as dpkg-deb -I shows them. (A CMake regex "." also matches a newline, so the
# patterns spell out [^\n].)
dpkg_deb(--info info)
function(expect_field name pattern)
  if(info MATCHES "\n ${name}: ${pattern}\n")
    string(STRIP "${CMAKE_MATCH_0}" field)
    message(STATUS "${field}")
  else()
    message(SEND_ERROR "${name} does not match \"${pattern}\" in:\n${info}")
  endif()
endfunction()
expect_field(Package "tamapick")
expect_field(Version "${VERSION}")
expect_field(Architecture "${arch}")
expect_field(Section "games")
expect_field(Maintainer "[^<\n]+ <[^@>\n]+@[^>\n]+>")
expect_field(Recommends "fonts-ipafont-gothic \\| fonts-noto-cjk, sound-theme-freedesktop, libcanberra-pulse, qt6-wayland")
# A synopsis, then a long description of indented lines.
expect_field(Description "[a-z][^\n]+(\n  [^\n]+)+")

# Depends comes from dpkg-shlibdeps: the Qt 6 libraries the program links, by their Debian
# names, each with the minimum version its symbols need, and the C and C++ runtimes beneath them.
# Since Debian 13 a library whose ABI took the 64-bit time_t carries "t64" in its package name
# (libqt6core6t64); which libraries did is the release's affair, so either name counts.
string(REGEX MATCH "\n Depends: [^\n]+" depends "${info}")
foreach(library libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libc6 libstdc\\+\\+6)
  if(NOT depends MATCHES "[ ,]${library}(t64)? \\(>= [0-9.~]+\\)")
    message(SEND_ERROR "Depends lacks ${library} with its minimum version:${depends}")
  endif()
endforeach()
string(STRIP "${depends}" depends)
message(STATUS "${depends}")
