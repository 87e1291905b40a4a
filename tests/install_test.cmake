# Installs the build into a fresh prefix and runs what was installed.
# cmake -DBUILD_DIR=... -DPREFIX=... -DPROGRAM=... -DFILES=... [-DEMULATOR=...] -P install_test.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(path ${FILES})
  if(NOT EXISTS "${PREFIX}/${path}")
    message(FATAL_ERROR "not installed: ${PREFIX}/${path}")
  endif()
endforeach()
execute_process(COMMAND ${EMULATOR} "${PREFIX}/${PROGRAM}" 8.13
                OUTPUT_VARIABLE out RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT out MATCHES "N32=53825")
  message(FATAL_ERROR "installed pllcfg 8.13 exited ${status} and printed:\n${out}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
