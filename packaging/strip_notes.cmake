# Run by cpack on the staged files, before it builds the package: drops the compiler's version
# notes from the stripped program, as Debian's own packages do (dh_strip); they only take space.
# (The staged files lie in a folder of the components packaged together.)
file(GLOB_RECURSE programs ${CPACK_TEMPORARY_DIRECTORY}/*/usr/games/*)
foreach(program IN LISTS programs)
  execute_process(COMMAND ${CPACK_TAMAPICK_STRIP} --remove-section=.comment --remove-section=.note ${program}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
