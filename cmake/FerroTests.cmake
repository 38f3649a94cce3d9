# Test registration shared by both builds.
#
# ferro_unit_test(NAME n SOURCES ... [LIBS ...] [LABELS ...])
#   native GoogleTest program over the portable code, label "unit".
# ferro_win_test(NAME n SOURCES ... [LIBS ...] [RESOURCES rc] [WRAPS symbol ...] [LABELS ...])
#   Windows GoogleTest program, built by the Windows build; its link routes
#   each WRAPS symbol to __wrap_symbol (a call of a function declared
#   dllimport, as windows.h declares them, goes through __imp_Name). CTest
#   runs each on its own under Wine (test n, label "win"), so that a failure
#   names what broke, and all of them once more as a person on Windows does,
#   through the runner of the tests' zip (win.test_zip, tests/win/CMakeLists.txt).
#   They take their own Wine session and display (ferro_wine_session "win"),
#   one at a time, beside the end-to-end tests: they draw little and mostly wait.
# ferro_e2e_test(NAME n COMMAND cmd ... [SESSION s] [LABELS ...] [UNTIMED])
#   end-to-end script against the real Ferrovane.scr under Wine + Xvfb, label "e2e";
#   such tests take the display one at a time. With SESSION, the script runs in
#   the Wine session of ferro_wine_session(NAME s) instead of the shared one,
#   on a display of its own: it runs beside the shared display's tests that
#   measure nothing, and counts as CPU-heavy for those that do.
# ferro_wine_session(NAME s [ENVIRONMENT var=value ...])
#   a Wine session of its own (scripts/wine-session with those variables), set
#   up before the first test that asks for it (fixture wine.s) and ended after
#   the last; its heap checking is shown to be on first, as the shared one's.
# Windows-side and end-to-end tests measure pace or sound timing unless marked
# UNTIMED: those start only once the CPU-heavy tests (fuzzers, lint) have
# ended, so that the two never run side by side.
#
# Windows executables land in ${FERRO_WIN_BIN}; scripts find the .scr there.

set(FERRO_WIN_BUILD_DIR ${CMAKE_BINARY_DIR}/win)
set(FERRO_WIN_BIN ${FERRO_WIN_BUILD_DIR}/bin)
set(FERRO_WINE_SESSION ${CMAKE_BINARY_DIR}/wine-session)
set(FERRO_WIN_SESSION ${FERRO_WINE_SESSION}-win)
# Properties of a CPU-heavy test: one at a time, leaving a core to the tests
# on the display; the high cost makes CTest start them first.
set(FERRO_CPU_HEAVY RESOURCE_LOCK cpu COST 1000)
set(FERRO_CPU_HEAVY_TESTS lint.clang_mingw fuzz.md3 fuzz.tga fuzz.mp3 e2e.monitors)
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()

# A test that measures pace or sound timing waits for the CPU-heavy tests.
function(ferro_timed_test name)
  set_tests_properties(${name} PROPERTIES DEPENDS "${FERRO_CPU_HEAVY_TESTS}")
endfunction()

function(ferro_unit_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  if(FERRO_WINDOWS)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ferro_portable ${T_LIBS} gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${FERRO_ROOT}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "unit;${T_LABELS}" TIMEOUT 300
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()

function(ferro_win_test)
  cmake_parse_arguments(T "" "NAME;RESOURCES" "SOURCES;LIBS;LABELS;WRAPS" ${ARGN})
  if(FERRO_WINDOWS)
    add_executable(${T_NAME} ${T_SOURCES} ${T_RESOURCES})
    # ferro_gtest_main brings the tests' include folder.
    target_link_libraries(${T_NAME} PRIVATE ferro_core ${T_LIBS} ferro_gtest_main)
    list(TRANSFORM T_WRAPS PREPEND -Wl,--wrap=)
    target_link_options(${T_NAME} PRIVATE ${T_WRAPS})
    return()
  endif()
  add_test(NAME ${T_NAME}
    COMMAND ${FERRO_ROOT}/scripts/in-wine-session ${FERRO_WIN_SESSION} wine ${FERRO_WIN_BIN}/${T_NAME}.exe)
  set_tests_properties(${T_NAME} PROPERTIES LABELS "win;${T_LABELS}" TIMEOUT 300
    FIXTURES_REQUIRED wine.win RESOURCE_LOCK display.win)
  ferro_timed_test(${T_NAME})
endfunction()

function(ferro_e2e_test)
  cmake_parse_arguments(T "UNTIMED" "NAME;SESSION" "COMMAND;LABELS" ${ARGN})
  if(FERRO_WINDOWS)
    return()
  endif()
  set(session ${FERRO_WINE_SESSION})
  set(fixture wine)
  set(lock display)
  if(T_SESSION)
    set(session ${FERRO_WINE_SESSION}-${T_SESSION})
    set(fixture wine.${T_SESSION})
    set(lock cpu)
    set(T_UNTIMED ON)
  endif()
  add_test(NAME ${T_NAME}
    COMMAND ${FERRO_ROOT}/scripts/in-wine-session ${session} ${T_COMMAND})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "e2e;${T_LABELS}" TIMEOUT 600
    FIXTURES_REQUIRED ${fixture} RESOURCE_LOCK ${lock}
    ENVIRONMENT "FERRO_WIN_BIN=${FERRO_WIN_BIN};FERRO_ROOT=${FERRO_ROOT}")
  if(NOT T_UNTIMED)
    ferro_timed_test(${T_NAME})
  endif()
endfunction()

function(ferro_wine_session)
  cmake_parse_arguments(T "" "NAME" "ENVIRONMENT" ${ARGN})
  if(FERRO_WINDOWS)
    return()
  endif()
  set(session ${FERRO_WINE_SESSION}-${T_NAME})
  set(name wine.${T_NAME})
  add_test(NAME ${name}.setup COMMAND ${FERRO_ROOT}/scripts/wine-session start ${session})
  add_test(NAME ${name}.heap_canary
    COMMAND ${FERRO_ROOT}/scripts/in-wine-session ${session} wine ${FERRO_WIN_BIN}/HeapCanary.exe)
  add_test(NAME ${name}.teardown COMMAND ${FERRO_ROOT}/scripts/wine-session stop ${session})
  # Its own display: the set-up may run beside the tests of the shared one.
  set_tests_properties(${name}.setup PROPERTIES FIXTURES_SETUP ${name}.session TIMEOUT 180
    LABELS "win;e2e" ENVIRONMENT "${T_ENVIRONMENT}")
  set_tests_properties(${name}.heap_canary PROPERTIES PASS_REGULAR_EXPRESSION "err:heap"
    FIXTURES_REQUIRED ${name}.session FIXTURES_SETUP ${name} TIMEOUT 60 LABELS "win;e2e")
  set_tests_properties(${name}.teardown PROPERTIES FIXTURES_CLEANUP "${name};${name}.session"
    TIMEOUT 60 LABELS "win;e2e")
endfunction()

# ferro_win_tool(NAME n SOURCES ... [LIBS ...])
#   a Windows helper program that end-to-end scripts drive (not a test itself).
function(ferro_win_tool)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(FERRO_WINDOWS)
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
    target_include_directories(${T_NAME} PRIVATE ${FERRO_ROOT}/tests ${FERRO_ROOT})
  endif()
endfunction()
