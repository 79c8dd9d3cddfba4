# SPDX-License-Identifier: GPL-3.0-or-later
# The program's icon in every size, rendered from packaging/yalmera.svg when the project builds:
# PNGs for the desktop's hicolor theme and the window icon (rsvg-convert, Debian: librsvg2-bin),
# and on Windows the .ico that the programs and the installer carry (icotool, Debian: icoutils).
# Target yalmera_icons; the files lie in ${YALMERA_ICON_DIR}.
set(YALMERA_ICON_SOURCE ${PROJECT_SOURCE_DIR}/packaging/yalmera.svg)
set(YALMERA_ICON_DIR ${PROJECT_BINARY_DIR}/icons)
# hicolor's sizes; Windows takes 16 to 48 and 256 into the .ico.
set(YALMERA_ICON_SIZES 16 22 24 32 48 64 128 256)
set(yalmera_ico_sizes 16 24 32 48 256)

# yalmera_windows_resources(<target> DESCRIPTION <text>): the icon and a version resource
# (product, version, description, copyright) on a Windows program, as Explorer shows them.
function(yalmera_windows_resources target)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(ARG "" "DESCRIPTION" "" ${ARGN})
  set(YALMERA_RC_DESCRIPTION "${ARG_DESCRIPTION}")
  set(YALMERA_RC_FILE_NAME ${target}.exe)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${YALMERA_ICO})
  add_dependencies(${target} yalmera_icons)
endfunction()

find_program(RSVG_CONVERT_PROGRAM rsvg-convert)
if(NOT RSVG_CONVERT_PROGRAM)
  if(YALMERA_BUILD_UI OR WIN32)
    message(FATAL_ERROR "rsvg-convert renders the program's icons: install librsvg2-bin (scripts/setup.sh does)")
  endif()
  return() # a build without the desktop program needs no icon
endif()
set(yalmera_icon_files)
foreach(size IN LISTS YALMERA_ICON_SIZES)
  set(png ${YALMERA_ICON_DIR}/yalmera-${size}.png)
  add_custom_command(OUTPUT ${png}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${YALMERA_ICON_DIR}
                     COMMAND ${RSVG_CONVERT_PROGRAM} -w ${size} -h ${size} -o ${png} ${YALMERA_ICON_SOURCE}
                     DEPENDS ${YALMERA_ICON_SOURCE} VERBATIM)
  list(APPEND yalmera_icon_files ${png})
endforeach()

if(WIN32)
  find_program(ICOTOOL_PROGRAM icotool)
  if(NOT ICOTOOL_PROGRAM)
    message(FATAL_ERROR "icotool makes the Windows icon: install icoutils (scripts/windows does)")
  endif()
  # The small sizes as bitmaps, 256 px as PNG inside the .ico, as Windows' own icons are made.
  set(ico_arguments)
  set(ico_inputs)
  foreach(size IN LISTS yalmera_ico_sizes)
    if(size EQUAL 256)
      list(APPEND ico_arguments -r ${YALMERA_ICON_DIR}/yalmera-${size}.png)
    else()
      list(APPEND ico_arguments ${YALMERA_ICON_DIR}/yalmera-${size}.png)
    endif()
    list(APPEND ico_inputs ${YALMERA_ICON_DIR}/yalmera-${size}.png)
  endforeach()
  set(YALMERA_ICO ${YALMERA_ICON_DIR}/yalmera.ico)
  add_custom_command(OUTPUT ${YALMERA_ICO}
                     COMMAND ${ICOTOOL_PROGRAM} -c -o ${YALMERA_ICO} ${ico_arguments}
                     DEPENDS ${ico_inputs} VERBATIM)
  list(APPEND yalmera_icon_files ${YALMERA_ICO})
endif()
add_custom_target(yalmera_icons ALL DEPENDS ${yalmera_icon_files})

