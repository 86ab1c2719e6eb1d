# The core is built as one static library per layer, linked in layer order. Each layer's
# sources are compiled against an include view that holds only its own folder and the folders
# of the layers below it (links to src/<folder> in the build tree), so an include that runs
# upward does not build. tests/layering_test.cpp checks the same order on the include lines.

set(CALVETH_LAYER_VIEWS ${CMAKE_BINARY_DIR}/layer-views)

# calveth_layer(<target> FOLDER <folder> [BELOW <folder>...] [LINKS <target>...]
#               [SOURCES <file>...])
# Makes the library <target> of src/<folder>: an INTERFACE library when it has no sources.
# Its view holds <folder> and the BELOW folders; targets that link it see the same view.
function(calveth_layer target)
  cmake_parse_arguments(LAYER "" "FOLDER" "BELOW;LINKS;SOURCES" ${ARGN})
  set(view ${CALVETH_LAYER_VIEWS}/${LAYER_FOLDER})
  file(MAKE_DIRECTORY ${view})
  # A folder dropped from BELOW must leave the view too: remove links that are no longer
  # listed (the links themselves, never what they point at).
  file(GLOB entries LIST_DIRECTORIES true ${view}/*)
  foreach(entry ${entries})
    get_filename_component(name ${entry} NAME)
    if(IS_SYMLINK ${entry} AND NOT name IN_LIST LAYER_FOLDER AND NOT name IN_LIST LAYER_BELOW)
      file(REMOVE ${entry})
    endif()
  endforeach()
  foreach(folder ${LAYER_FOLDER} ${LAYER_BELOW})
    if(NOT EXISTS ${view}/${folder})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${view}/${folder} SYMBOLIC
           COPY_ON_ERROR)
    endif()
  endforeach()
  if(LAYER_SOURCES)
    add_library(${target} STATIC ${LAYER_SOURCES})
    target_include_directories(${target} PUBLIC ${view})
    target_link_libraries(${target} PUBLIC ${LAYER_LINKS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${view})
    target_link_libraries(${target} INTERFACE ${LAYER_LINKS})
  endif()
endfunction()
