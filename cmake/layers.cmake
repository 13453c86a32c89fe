# The library is built as layers, one object library per folder. A layer sees the headers of
# the layers it links and nothing else: each layer's headers are reached through a directory
# of its own in the build tree that links to its folder, so an include that runs upward (or
# sideways, into a layer not linked) fails to compile.
#
#   vescene_layer(NAME [DIRS dir...] [HEADERS dir...] [SOURCES glob...] [DEPS layer...])
#
# DIRS exposes a folder of src/ with everything under it; HEADERS exposes only the headers at
# the top of a folder (its sub-folders stay private to the layer).
set(VESCENE_LAYER_ROOT ${CMAKE_BINARY_DIR}/layers)

function(vescene_expose link target)
  get_filename_component(parent ${link} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${target} ${link} SYMBOLIC)
endfunction()

function(vescene_layer name)
  cmake_parse_arguments(L "" "" "DIRS;HEADERS;SOURCES;DEPS" ${ARGN})
  set(sources)
  foreach(pattern ${L_SOURCES})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${pattern})
    list(APPEND sources ${found})
  endforeach()
  # A layer of headers alone (the scene base class) is an interface library.
  if(sources)
    add_library(${name} OBJECT ${sources})
    set(scope PUBLIC)
    if(NOT WIN32)
      # The Linux library exports only what carries VESCENE_API, like the DLL; the programs that
      # link these objects directly are not affected.
      set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    endif()
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  set(public ${VESCENE_LAYER_ROOT}/${name})
  file(REMOVE_RECURSE ${public})
  foreach(dir ${L_DIRS})
    vescene_expose(${public}/${dir} ${CMAKE_SOURCE_DIR}/src/${dir})
  endforeach()
  if(L_HEADERS)
    # The layer's own sources still reach its private sub-folders.
    set(private ${VESCENE_LAYER_ROOT}/${name}-private)
    file(REMOVE_RECURSE ${private})
    foreach(dir ${L_HEADERS})
      vescene_expose(${private}/${dir} ${CMAKE_SOURCE_DIR}/src/${dir})
      file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dir}/*.h)
      foreach(header ${headers})
        get_filename_component(file ${header} NAME)
        vescene_expose(${public}/${dir}/${file} ${header})
      endforeach()
    endforeach()
    target_include_directories(${name} PRIVATE ${private})
  endif()
  file(MAKE_DIRECTORY ${public})
  target_include_directories(${name} ${scope} ${public})
  if(L_DEPS)
    target_link_libraries(${name} ${scope} ${L_DEPS})
  endif()
  set_property(GLOBAL APPEND PROPERTY VESCENE_LAYERS ${name})
endfunction()

# Links every layer's objects into a program or library (object libraries contribute their
# objects only where they are linked directly).
function(vescene_link_layers target)
  cmake_parse_arguments(L "WITH_SIM" "" "" ${ARGN})
  get_property(layers GLOBAL PROPERTY VESCENE_LAYERS)
  if(NOT L_WITH_SIM)
    list(REMOVE_ITEM layers vescene_sim)
  endif()
  target_link_libraries(${target} PRIVATE ${layers})
endfunction()
