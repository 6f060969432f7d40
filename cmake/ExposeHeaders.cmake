# Every library reaches the headers of the libraries it links as "<folder>/<name>.h", and only
# those: each library has an include directory of its own in the build tree, holding a one-line
# forwarding header for each header among the library's sources and nothing else (Qt's own
# build lays out its modules' headers the same way). A layer that includes a header of a library
# it does not link, such as a reel including a draw handler's header, then fails to build with
# "No such file or directory" instead of compiling quietly against a layer above it.
#
# The forwarders include the real header by its absolute path, so compiler messages, depfiles and
# an editor's "go to definition" all land on the file in the source tree.
#
# The tests' support libraries are reached by their headers' plain names ("fake_runtime.h"):
#   tamapick_expose_headers(target BASE folder)   names the headers relative to folder
function(tamapick_expose_headers target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "BASE" "")
  if(NOT ARG_BASE)
    set(ARG_BASE ${PROJECT_SOURCE_DIR})
  endif()
  set(include_dir ${PROJECT_BINARY_DIR}/include/${target})
  get_target_property(sources ${target} SOURCES)
  set(forwarders)
  foreach(source IN LISTS sources)
    if(NOT source MATCHES "\\.h$")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} OUTPUT_VARIABLE header)
    file(RELATIVE_PATH name ${ARG_BASE} ${header})
    list(APPEND forwarders ${name})
    # Written only when its text changes, so configuring again rebuilds nothing.
    file(CONFIGURE OUTPUT ${include_dir}/${name} CONTENT "#include \"${header}\"\n")
  endforeach()

  # A header taken out of the library must stop being reachable through it.
  file(GLOB_RECURSE existing RELATIVE ${include_dir} ${include_dir}/*)
  foreach(name IN LISTS existing)
    if(NOT name IN_LIST forwarders)
      file(REMOVE ${include_dir}/${name})
    endif()
  endforeach()

  target_include_directories(${target} PUBLIC ${include_dir})
endfunction()
