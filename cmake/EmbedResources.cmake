# kestrel_embed_resources(TARGET [DIRECTORY <folder>] [DEPENDS <files or targets>...])
#
# Compiles the numbered pictures and sounds of <folder> (raw/<id>.jpg, sound/<id>.wav) into
# TARGET, which then answers FindResource() from them. Files that exist when CMake runs are
# tracked; folders written during the build name their producer in DEPENDS. Without a folder
# the table is empty (tools that read content but show no pictures of their own).
function(kestrel_embed_resources target)
  cmake_parse_arguments(ARG "" "DIRECTORY" "DEPENDS" ${ARGN})
  set(table ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  if(NOT ARG_DIRECTORY)
    set(ARG_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${target}_no_resources)
  endif()
  file(GLOB_RECURSE existing CONFIGURE_DEPENDS ${ARG_DIRECTORY}/raw/*.jpg ${ARG_DIRECTORY}/sound/*.wav)
  add_custom_command(
    OUTPUT ${table}
    COMMAND kestrel-embed ${table} ${ARG_DIRECTORY}
    DEPENDS kestrel-embed ${existing} ${ARG_DEPENDS}
    COMMENT "Embedding the resources of ${ARG_DIRECTORY} into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${table})
endfunction()
