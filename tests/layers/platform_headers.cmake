# Fails when a file outside platform/ includes a window system, EGL, SDL, emscripten, file watching
# or process header: those belong to the platform's files, one per system per concern.
# cmake -DSOURCE_DIR=... -P platform_headers.cmake
set(platform_header_pattern
  "#[ \t]*include[ \t]*<(GL/freeglut[a-z_]*\\.h|GL/glut\\.h|GL/glx\\.h|EGL/[^>]*|SDL[^>]*|X11/[^>]*|sys/inotify\\.h|spawn\\.h|sys/wait\\.h|sys/types\\.h|unistd\\.h|fcntl\\.h|signal\\.h|csignal|windows\\.h|io\\.h|process\\.h|emscripten[^>]*)>")
set(offenders "")
foreach(folder base image render scene xsi effects app tools bench web)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
  foreach(source IN LISTS sources)
    file(STRINGS ${source} hits REGEX "${platform_header_pattern}")
    if(hits)
      file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
      list(APPEND offenders "${name}: ${hits}")
    endif()
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " text)
  message(FATAL_ERROR "Platform headers outside platform/:\n  ${text}")
endif()
