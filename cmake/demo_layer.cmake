# add_demo_layer(NAME [ROOM path] [BELOW layer...] SOURCES file... [LIBS lib...])
#
# One source folder as one layer: the static library demo_NAME, which links the layers directly
# below it (and through them every lower one) and the external libraries it uses. Its sources see
# the headers of their own folder and of the layers below, and nothing else: the include path of
# each layer is a folder of the build tree holding a single link, NAME (or the ROOM path, such as
# effects/worms) -> the source folder, and only those of lower layers reach a layer through its
# links. An include of a higher layer's header ("render/..." from scene's view is fine,
# "effects/..." is not found), or of a room beside it, fails to compile.
function(add_demo_layer NAME)
  cmake_parse_arguments(LAYER "" "ROOM" "BELOW;SOURCES;LIBS" ${ARGN})
  if(NOT LAYER_ROOM)
    set(LAYER_ROOM ${NAME})
  endif()
  set(view ${CMAKE_BINARY_DIR}/layers/${NAME})
  get_filename_component(parent ${view}/${LAYER_ROOM} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${view}/${LAYER_ROOM} SYMBOLIC)

  add_library(demo_${NAME} STATIC ${LAYER_SOURCES})
  target_include_directories(demo_${NAME} PUBLIC ${view})
  foreach(below IN LISTS LAYER_BELOW)
    target_link_libraries(demo_${NAME} PUBLIC demo_${below})
  endforeach()
  target_link_libraries(demo_${NAME} PUBLIC ${LAYER_LIBS})
endfunction()
