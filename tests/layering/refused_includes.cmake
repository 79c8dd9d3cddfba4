# cmake -DBUILD_DIR=... -DREFUSED=target=header,... -DALLOWED=target -P refused_includes.cmake
# Fails unless every REFUSED target fails to compile because its header is not found, and the
# ALLOWED target compiles.
function(build target result output)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result} ${code} PARENT_SCOPE)
  set(${output} "${out}${err}" PARENT_SCOPE)
endfunction()

build(${ALLOWED} code output)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "${ALLOWED} should compile:\n${output}")
endif()
string(REPLACE "," ";" refused "${REFUSED}")
foreach(probe ${refused})
  string(REPLACE "=" ";" probe "${probe}")
  list(GET probe 0 target)
  list(GET probe 1 header)
  build(${target} code output)
  string(FIND "${output}" "${header}" named)
  # GCC: "No such file or directory"; Clang: "file not found"; MSVC: "Cannot open include file".
  if(code EQUAL 0 OR named EQUAL -1 OR NOT output MATCHES "No such file|not found|Cannot open include")
    message(FATAL_ERROR "${target} should fail to find ${header}:\n${output}")
  endif()
  message(STATUS "${target}: ${header} refused")
endforeach()
