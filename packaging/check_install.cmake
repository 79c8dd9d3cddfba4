# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=<build> -DPREFIX=<dir> -DPROGRAMS=<a;b> -DBINDIR=<dir> -DDATADIR=<dir>
#       -DDOCDIR=<dir> -DICON_SIZES=<16;...> -DMAN_PAGES=<a.1;...> -DMAN_PAGES_RU=<ru/a.1;...>
#       [-DQT_RU=ON] [-DWINDOWS=ON] -P check_install.cmake
# Installs the build into PREFIX and fails when a file a package must hold is missing, or when
# the programs' folder holds any other program (tests and benchmarks stay out).
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install ${BUILD_DIR} failed")
endif()

set(expected ${DATADIR}/examples/k17m_10.ini ${DATADIR}/examples/k15m_10.ini ${DOCDIR}/README.md
    ${DOCDIR}/руководство.md)
if(WINDOWS)
  list(APPEND expected ${DOCDIR}/LICENSE ${DOCDIR}/CHANGELOG.md ${DOCDIR}/руководство.html)
else()
  # Debian's names: the licence in copyright, the changelog compressed.
  list(APPEND expected ${DOCDIR}/copyright ${DOCDIR}/changelog.gz share/bash-completion/completions/yalmera-cli)
  foreach(page IN LISTS MAN_PAGES MAN_PAGES_RU)
    get_filename_component(name ${page} NAME)
    set(folder share/man/man1)
    if(page IN_LIST MAN_PAGES_RU)
      set(folder share/man/ru/man1)
    endif()
    if(EXISTS ${PREFIX}/${folder}/${name}.gz)
      list(APPEND expected ${folder}/${name}.gz)
    else()
      list(APPEND expected ${folder}/${name})
    endif()
  endforeach()
endif()
foreach(program IN LISTS PROGRAMS)
  list(APPEND expected ${BINDIR}/${program})
endforeach()
if(yalmera IN_LIST PROGRAMS OR yalmera.exe IN_LIST PROGRAMS)
  if(NOT WINDOWS)
    list(APPEND expected share/applications/yalmera.desktop share/icons/hicolor/scalable/apps/yalmera.svg
         share/metainfo/io.github.yalmera.programmer.metainfo.xml share/mime/packages/yalmera.xml)
    foreach(size IN LISTS ICON_SIZES)
      list(APPEND expected share/icons/hicolor/${size}x${size}/apps/yalmera.png)
    endforeach()
  endif()
  if(QT_RU)
    list(APPEND expected ${DATADIR}/translations/qtbase_ru.qm)
  endif()
endif()

# "./yalmera.exe" is "yalmera.exe".
set(normal)
foreach(path IN LISTS expected)
  cmake_path(NORMAL_PATH path)
  list(APPEND normal ${path})
endforeach()
set(expected ${normal})

set(missing)
foreach(path IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${path})
    list(APPEND missing ${path})
  endif()
endforeach()
if(WINDOWS)
  file(GLOB extra RELATIVE ${PREFIX} ${PREFIX}/${BINDIR}/*.exe)
else()
  file(GLOB extra RELATIVE ${PREFIX} ${PREFIX}/${BINDIR}/*)
endif()
list(REMOVE_ITEM extra ${expected})
if(missing OR extra)
  message(FATAL_ERROR "install layout: missing [${missing}], unexpected programs [${extra}]")
endif()
message(STATUS "install layout: ${expected}")
