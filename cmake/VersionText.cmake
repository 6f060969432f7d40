# The version as the Windows version record and the Windows read-me spell it: 1.0.0.7 reads
# "1.00.0007" (the minor number in two digits, the build number in four). Included by the build,
# and run by the Windows scripts for any version:
#   cmake -DVERSION=1.0.0.7 -P cmake/VersionText.cmake      prints 1.00.0007
function(tamapick_version_text out version)
  if(NOT version MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "a version has four numbers, not \"${version}\"")
  endif()
  math(EXPR minor_padded "100 + ${CMAKE_MATCH_2}")
  math(EXPR tweak_padded "10000 + ${CMAKE_MATCH_4}")
  string(SUBSTRING ${minor_padded} 1 2 minor_padded)
  string(SUBSTRING ${tweak_padded} 1 4 tweak_padded)
  set(${out} "${CMAKE_MATCH_1}.${minor_padded}.${tweak_padded}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  tamapick_version_text(text "${VERSION}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${text}")
endif()
