# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=<build> -DPREFIX=<dir> -DPROGRAMS=<a;b> [-DQT_RU=ON] -P check_install.cmake
# Installs the build into PREFIX and fails when a file a package must hold is missing, or when
# bin/ holds anything but the programs (tests and benchmarks stay out).
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install ${BUILD_DIR} failed")
endif()

set(expected share/yalmera/examples/k17m_10.ini share/doc/yalmera/LICENSE)
foreach(page yalmera-cli.1 yalmera-station.1)
  if(EXISTS ${PREFIX}/share/man/man1/${page}.gz)
    list(APPEND expected share/man/man1/${page}.gz)
  else()
    list(APPEND expected share/man/man1/${page})
  endif()
endforeach()
foreach(program IN LISTS PROGRAMS)
  list(APPEND expected bin/${program})
endforeach()
if(yalmera IN_LIST PROGRAMS)
  list(APPEND expected share/applications/yalmera.desktop share/icons/hicolor/scalable/apps/yalmera.svg
       share/metainfo/io.github.yalmera.Programmer.metainfo.xml)
  if(QT_RU)
    list(APPEND expected share/yalmera/translations/qtbase_ru.qm)
  endif()
endif()

set(missing)
foreach(path IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${path})
    list(APPEND missing ${path})
  endif()
endforeach()
file(GLOB installed_bin RELATIVE ${PREFIX} ${PREFIX}/bin/*)
set(extra ${installed_bin})
list(REMOVE_ITEM extra ${expected})
if(missing OR extra)
  message(FATAL_ERROR "install layout: missing [${missing}], unexpected in bin [${extra}]")
endif()
message(STATUS "install layout: ${expected}")
