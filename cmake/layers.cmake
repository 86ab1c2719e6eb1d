# The core is built as one static library per layer, linked in layer order. Each layer's
# sources are compiled against an include view that holds only its own folder and the folders
# of the layers below it (links to src/<folder> in the build tree), so an include that runs
# upward does not build. tests/layering_test.cpp checks the same order on the include lines.

set(CALVETH_LAYER_VIEWS ${CMAKE_BINARY_DIR}/layer-views)
set(CALVETH_LAYER_TABLE ${PROJECT_SOURCE_DIR}/cmake/layers.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CALVETH_LAYER_TABLE})

# calveth_layers_below(<folder> <variable>): the folders of the table whose rank is lower than
# <folder>'s, which a layer's sources may include.
function(calveth_layers_below folder variable)
  file(STRINGS ${CALVETH_LAYER_TABLE} rows REGEX "^[a-z0-9_]+ +[0-9]+ ")
  set(own "")
  foreach(row ${rows})
    string(REGEX MATCH "^([a-z0-9_]+) +([0-9]+)" matched "${row}")
    if(CMAKE_MATCH_1 STREQUAL folder)
      set(own ${CMAKE_MATCH_2})
    endif()
  endforeach()
  if(own STREQUAL "")
    message(FATAL_ERROR "${folder} is not in ${CALVETH_LAYER_TABLE}")
  endif()
  set(below "")
  foreach(row ${rows})
    string(REGEX MATCH "^([a-z0-9_]+) +([0-9]+)" matched "${row}")
    if(CMAKE_MATCH_2 LESS own)
      list(APPEND below ${CMAKE_MATCH_1})
    endif()
  endforeach()
  set(${variable} ${below} PARENT_SCOPE)
endfunction()

# calveth_layer(<target> FOLDER <folder> [LINKS <target>...] [SOURCES <file>...])
# Makes the library <target> of src/<folder>: an INTERFACE library when it has no sources.
# Its view holds <folder> and the folders below it in the layer table; targets that link it
# see the same view.
function(calveth_layer target)
  cmake_parse_arguments(LAYER "" "FOLDER" "LINKS;SOURCES" ${ARGN})
  calveth_layers_below(${LAYER_FOLDER} LAYER_BELOW)
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
