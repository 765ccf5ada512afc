# add_demo_layer(NAME [BELOW layer] SOURCES file... [LIBS lib...])
#
# One source folder as one layer: the static library demo_NAME, which links the layer directly
# below it (and through it every lower one) and the external libraries it uses. Its sources see
# the headers of their own folder and of the layers below, and nothing else: the include path of
# each layer is a folder of the build tree holding a single link, NAME -> the source folder, and
# only those of lower layers reach a layer through its links. An include of a higher layer's
# header ("render/..." from scene's view is fine, "effects/..." is not found) fails to compile.
function(add_demo_layer NAME)
  cmake_parse_arguments(LAYER "" "BELOW" "SOURCES;LIBS" ${ARGN})
  set(view ${CMAKE_BINARY_DIR}/layers/${NAME})
  file(MAKE_DIRECTORY ${view})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${view}/${NAME} SYMBOLIC)

  add_library(demo_${NAME} STATIC ${LAYER_SOURCES})
  target_include_directories(demo_${NAME} PUBLIC ${view})
  if(LAYER_BELOW)
    target_link_libraries(demo_${NAME} PUBLIC demo_${LAYER_BELOW})
  endif()
  target_link_libraries(demo_${NAME} PUBLIC ${LAYER_LIBS})
endfunction()
