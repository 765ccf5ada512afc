# Cross toolchain for 64-bit Windows with Debian's mingw-w64 (posix threads flavour).
#
#   cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DDEMO_WIN_PREFIX=$PWD/build-windows/prefix ...
#
# DEMO_WIN_PREFIX is where scripts/build-windows-deps.sh installs the static libraries.
# Libraries, headers and packages are looked up only there and in mingw's own sysroot,
# never on the host. With DEMO_WIN_STATIC (default ON) zlib is the static archive too.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DEMO_WIN_TRIPLET x86_64-w64-mingw32)

# The toolchain file is read again inside try_compile projects, where cache variables from
# the command line are gone: hand them over through the environment.
if(DEFINED DEMO_WIN_PREFIX)
  set(ENV{DEMO_WIN_PREFIX} "${DEMO_WIN_PREFIX}")
elseif(DEFINED ENV{DEMO_WIN_PREFIX})
  set(DEMO_WIN_PREFIX "$ENV{DEMO_WIN_PREFIX}")
endif()
if(DEFINED DEMO_WIN_STATIC)
  set(ENV{DEMO_WIN_STATIC} "${DEMO_WIN_STATIC}")
elseif(DEFINED ENV{DEMO_WIN_STATIC})
  set(DEMO_WIN_STATIC "$ENV{DEMO_WIN_STATIC}")
else()
  set(DEMO_WIN_STATIC ON)
endif()

# The -win32 flavour has no std::thread, std::mutex or std::future.
set(CMAKE_C_COMPILER ${DEMO_WIN_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DEMO_WIN_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${DEMO_WIN_TRIPLET}-windres)
# The -posix suffix hides the tool prefix from CMake's guess: name binutils explicitly.
find_program(CMAKE_AR NAMES ${DEMO_WIN_TRIPLET}-ar)
find_program(CMAKE_RANLIB NAMES ${DEMO_WIN_TRIPLET}-ranlib)
find_program(CMAKE_OBJDUMP NAMES ${DEMO_WIN_TRIPLET}-objdump)
find_program(CMAKE_STRIP NAMES ${DEMO_WIN_TRIPLET}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${DEMO_WIN_TRIPLET})
if(DEMO_WIN_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH "${DEMO_WIN_PREFIX}")
endif()
# Programs (code generators, pkg-config) run on the host; everything linked comes from the
# find roots only.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(DEMO_WIN_STATIC)
  # mingw's sysroot has libz.a beside libz.dll.a and CMake prefers import libraries; the
  # platform file read after this one resets CMAKE_FIND_LIBRARY_SUFFIXES, so ask FindZLIB.
  # The prefix holds static archives only.
  set(ZLIB_USE_STATIC_LIBS ON)
endif()

# pkg-config must not report the host's .pc files.
set(ENV{PKG_CONFIG_PATH} "")
if(DEMO_WIN_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} "${DEMO_WIN_PREFIX}/lib/pkgconfig")
else()
  set(ENV{PKG_CONFIG_LIBDIR} "/usr/${DEMO_WIN_TRIPLET}/lib/pkgconfig")
endif()

# Tests and generated tools run through Wine where it is installed.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(DEMO_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
  if(NOT DEMO_WINE64)
    find_program(DEMO_WINE64 NAMES wine64)
  endif()
  if(DEMO_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${DEMO_WINE64}")
  endif()
endif()
