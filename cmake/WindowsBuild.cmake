# The Windows build, cross-compiled as an external project inside the native one,
# so one configure and one `cmake --build` make both and one CTest run tests both.
include(ExternalProject)
ExternalProject_Add(windows_build
  SOURCE_DIR ${FERRO_ROOT}
  BINARY_DIR ${FERRO_WIN_BUILD_DIR}
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${FERRO_ROOT}/cmake/MingwToolchain.cmake
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DFERRO_TESTS=${FERRO_TESTS}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)
