# cmake -DASSETGEN=... -DRES_DIR=... -DOUT_DIR=... -P CheckAssets.cmake
# Runs the generator into OUT_DIR and fails unless every file equals res/'s.
file(REMOVE_RECURSE ${OUT_DIR})
file(MAKE_DIRECTORY ${OUT_DIR})
execute_process(COMMAND ${ASSETGEN} ${OUT_DIR} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "assetgen failed: ${result}")
endif()
foreach(name ferrovane.md3 ferrovane.tga blank.cur ferrovane.ico)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT_DIR}/${name} ${RES_DIR}/${name}
                  RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    message(FATAL_ERROR "${name}: res/ differs from a fresh assetgen run (regenerate with assetgen ${RES_DIR})")
  endif()
endforeach()
