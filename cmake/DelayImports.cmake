# Delay-load import libraries: a DLL that the loader does not bind when the
# program loads (it would search the program's folder first for a DLL that is
# not a KnownDLL); framework/SystemLibrary.cpp binds it from System32 as the
# program starts. Each is made from the toolchain's own import library: every
# function it exports, the linker keeps those the program calls.
#
# ferro_delay_imports(TARGET) links TARGET (and what links it) against one for
# each DLL that framework/DelayImports.h names. Run as a script (-P) it makes
# one: NM, DLLTOOL, IMPORT_LIB, DLL, OUT.

if(CMAKE_SCRIPT_MODE_FILE)
  execute_process(COMMAND ${NM} -g --defined-only ${IMPORT_LIB}
    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "[0-9a-f]+ T [A-Za-z_][A-Za-z0-9_@]*" functions "${symbols}")
  list(TRANSFORM functions REPLACE "^[0-9a-f]+ T " "")
  list(REMOVE_DUPLICATES functions)
  list(SORT functions)
  list(JOIN functions "\n" exports)
  file(WRITE ${OUT}.def "LIBRARY ${DLL}\nEXPORTS\n${exports}\n")
  # Run beside its output: dlltool names the library's symbols after that path
  # (__DELAY_IMPORT_DESCRIPTOR_libwinmm_delay_a), the same in every build folder.
  get_filename_component(dir ${OUT} DIRECTORY)
  get_filename_component(name ${OUT} NAME)
  execute_process(COMMAND ${DLLTOOL} --input-def ${name}.def --output-delaylib ${name} --dllname ${DLL}
    WORKING_DIRECTORY ${dir} COMMAND_ERROR_IS_FATAL ANY)
  return()
endif()

set(FERRO_DELAY_IMPORTS_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

function(ferro_delay_imports target)
  set(list_file ${FERRO_ROOT}/framework/DelayImports.h)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
  file(STRINGS ${list_file} lines REGEX "FERRO_DELAY_IMPORT\\(")
  string(REGEX MATCHALL "FERRO_DELAY_IMPORT\\([a-z0-9_]+\\)" dlls "${lines}")
  list(TRANSFORM dlls REPLACE "FERRO_DELAY_IMPORT\\(([a-z0-9_]+)\\)" "\\1")
  set(dir ${CMAKE_BINARY_DIR}/delayimp)
  set(libraries)
  foreach(dll ${dlls})
    find_library(FERRO_IMPORT_LIB_${dll} ${dll} REQUIRED)
    set(out ${dir}/lib${dll}_delay.a)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL}
        -DIMPORT_LIB=${FERRO_IMPORT_LIB_${dll}} -DDLL=${dll}.dll -DOUT=${out} -P ${FERRO_DELAY_IMPORTS_SCRIPT}
      DEPENDS ${FERRO_IMPORT_LIB_${dll}} ${FERRO_DELAY_IMPORTS_SCRIPT}
      VERBATIM)
    list(APPEND libraries ${out})
  endforeach()
  add_custom_target(${target}_delay_imports DEPENDS ${libraries})
  add_dependencies(${target} ${target}_delay_imports)
  target_link_libraries(${target} PUBLIC ${libraries})
  # SystemLibrary.cpp binds them all as the program starts and is the
  # delay-load helper's hook: the symbol, undefined from the start, takes it
  # from the static library rather than the runtime's empty default.
  target_link_options(${target} PUBLIC -Wl,--undefined=__pfnDliNotifyHook2)
endfunction()
