# Holds debian/copyright, which the package installs as its copyright file, against the licences
# the tree carries: the Expat paragraph must be LICENSE's text with its holders, and the OFL-1.1
# paragraph the carried face's licence, word for word. A licence changed in one place and not the
# other would ship a copyright file that misstates what the user may do.
#   cmake -DSOURCE_DIR=... -P this file

file(READ ${SOURCE_DIR}/debian/copyright copyright)
file(READ ${SOURCE_DIR}/LICENSE license)
file(READ ${SOURCE_DIR}/assets/fonts/OFL.txt ofl)

# A DEP-5 licence paragraph: "License: NAME" and its text, each line indented by one space, an
# empty line written " .". Prints the text as a plain file has it.
function(licence_text name out)
  if(NOT copyright MATCHES "\nLicense: ${name}\n(( [^\n]*(\n|$))+)")
    message(FATAL_ERROR "debian/copyright has no License: ${name} paragraph with a text")
  endif()
  set(text "${CMAKE_MATCH_1}")
  string(REGEX REPLACE "(^|\n) \\.(\n|$)" "\\1\\2" text "${text}")
  string(REGEX REPLACE "(^|\n) " "\\1" text "${text}")
  string(STRIP "${text}" text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(expect_same what stated carried)
  string(STRIP "${carried}" carried)
  if(NOT stated STREQUAL carried)
    message(SEND_ERROR "debian/copyright's ${what} differs from the tree's:\n--- debian/copyright\n${stated}\n--- tree\n${carried}")
  else()
    string(LENGTH "${stated}" length)
    message(STATUS "${what}: the same text (${length} characters)")
  endif()
endfunction()

# LICENSE: a title, "Copyright (c) HOLDERS", then the licence.
if(NOT license MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.*)$")
  message(FATAL_ERROR "LICENSE does not read: title, Copyright (c) line, blank line, licence text")
endif()
set(holders "${CMAKE_MATCH_1}")
set(expat "${CMAKE_MATCH_2}")
if(NOT copyright MATCHES "\nFiles: \\*\nCopyright: ${holders}\nLicense: Expat\n")
  message(SEND_ERROR "debian/copyright does not give Files: * to \"${holders}\" under Expat")
endif()
licence_text(Expat stated)
expect_same("Expat licence" "${stated}" "${expat}")

# The face's licence file starts with the face's own notice; the licence proper starts at the
# line of dashes above its title.
if(NOT ofl MATCHES "\n(-+\nSIL OPEN FONT LICENSE.*)$")
  message(FATAL_ERROR "assets/fonts/OFL.txt has no SIL OPEN FONT LICENSE heading")
endif()
set(ofl_licence "${CMAKE_MATCH_1}")
if(NOT copyright MATCHES "\nFiles: assets/fonts/\\*\\.otf\nCopyright: [^\n]*Adobe[^\n]*\n(Comment:[^\n]*\n( [^\n]*\n)*)?License: OFL-1\\.1\n")
  message(SEND_ERROR "debian/copyright does not give the carried faces to Adobe under OFL-1.1")
endif()
licence_text(OFL-1\\.1 stated)
expect_same("OFL-1.1 licence" "${stated}" "${ofl_licence}")
