# demo_slot_rooms(OUT): the rooms of the show's slots, in slot order, as base/show_slots.h lists
# them ({number, from, to, "room"}): the build, the rooms' tests and the layer probes follow that
# one table.
function(demo_slot_rooms OUT)
  file(STRINGS ${CMAKE_SOURCE_DIR}/base/show_slots.h rows
       REGEX "^ *\\{[0-9]+, [^,]+, [^,]+, \"[a-z_]+\"\\},$")
  set(rooms)
  foreach(row IN LISTS rows)
    string(REGEX REPLACE ".*\"([a-z_]+)\".*" "\\1" room "${row}")
    list(APPEND rooms ${room})
  endforeach()
  if(NOT rooms)
    message(FATAL_ERROR "no slot rows found in base/show_slots.h")
  endif()
  set(${OUT} ${rooms} PARENT_SCOPE)
endfunction()
