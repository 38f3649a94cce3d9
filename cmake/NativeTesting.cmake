# Native build: sanitizers on everything, GoogleTest built from Debian's sources.
# FERRO_SANITIZE=OFF only for a build that measures speed (scripts/bench).
option(FERRO_SANITIZE "AddressSanitizer and UndefinedBehaviorSanitizer on the native build" ON)
if(FERRO_SANITIZE)
  set(FERRO_SANITIZE_FLAGS "-fsanitize=address,undefined" "-fno-sanitize-recover=undefined" "-fno-omit-frame-pointer")
  add_compile_options(${FERRO_SANITIZE_FLAGS})
  add_link_options(${FERRO_SANITIZE_FLAGS})
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# libFuzzer needs clang; a GCC build simply has no fuzz targets.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(FERRO_FUZZ ON)
else()
  set(FERRO_FUZZ OFF)
endif()

# The scene and asset tests look at real pixels drawn by Mesa off-screen: a
# build without it has no such tests, so it is no build (scripts/deps installs
# libosmesa6-dev and libglu1-mesa-dev).
find_library(FERRO_OSMESA OSMesa REQUIRED)
find_library(FERRO_GLU GLU REQUIRED)
find_path(FERRO_OSMESA_INCLUDE GL/osmesa.h REQUIRED)
