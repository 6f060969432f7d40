# What an install carries besides the program and its desktop files: the manual page, compressed
# at the highest level and without a name or time stamp, so the same source always gives the same
# bytes. The Debian package is this same install, made by debian/rules (the program in
# /usr/games there, the copyright file and changelogs from debian/).

if(NOT UNIX OR APPLE)
  return()
endif()

find_program(TAMAPICK_GZIP gzip REQUIRED)
set(packaging_dir ${PROJECT_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/docs/tamapick.6.in ${packaging_dir}/source/tamapick.6 @ONLY)
add_custom_command(
  OUTPUT ${packaging_dir}/tamapick.6.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${packaging_dir}/source/tamapick.6 ${packaging_dir}/tamapick.6
  COMMAND ${TAMAPICK_GZIP} -9nf ${packaging_dir}/tamapick.6
  DEPENDS ${packaging_dir}/source/tamapick.6
  VERBATIM)
install(FILES ${packaging_dir}/tamapick.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
add_custom_target(tamapick_documents ALL DEPENDS ${packaging_dir}/tamapick.6.gz)
