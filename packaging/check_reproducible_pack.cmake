# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=<build> -DWORK=<dir> -DGENERATOR=DEB -P check_reproducible_pack.cmake
# Packs one build twice, a second apart and without SOURCE_DATE_EPOCH in the environment (the
# package's own configuration gives the time of the last commit), and fails unless the two
# packages are the same byte for byte. scripts/check-reproducible builds twice as well. Each pack
# runs in a folder of its own, as the README's `cd build && cpack -G DEB` runs in the build
# folder, and must leave its package there.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
set(hashes)
foreach(run 1 2)
  if(run EQUAL 2)
    execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1.1)
  endif()
  file(MAKE_DIRECTORY ${WORK}/${run})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=SOURCE_DATE_EPOCH
                          ${CMAKE_CPACK_COMMAND} -G ${GENERATOR} --config ${BUILD_DIR}/CPackConfig.cmake
                  WORKING_DIRECTORY ${WORK}/${run} RESULT_VARIABLE failed OUTPUT_QUIET)
  if(failed)
    message(FATAL_ERROR "cpack -G ${GENERATOR} failed")
  endif()
  file(GLOB package ${WORK}/${run}/yalmera*.deb ${WORK}/${run}/yalmera*.exe)
  if(NOT package)
    message(FATAL_ERROR "cpack -G ${GENERATOR} left no package in the folder it ran in (${WORK}/${run})")
  endif()
  file(SHA256 ${package} hash)
  list(APPEND hashes ${hash})
  get_filename_component(name ${package} NAME)
endforeach()
list(GET hashes 0 first)
list(GET hashes 1 second)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "two packs of one build differ: ${WORK}/1/${name} and ${WORK}/2/${name} "
                      "(diffoscope shows why)")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "${name} packed twice: the same, SHA-256 ${first}")
