# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DXML=<yalmera.xml> -DDESKTOP=<yalmera.desktop> -DPROGRAM_DIR=<folder of yalmera>
#       -DPLANS=<a.ini;b.ini> -DWORK=<dir> -DGIO=<gio> -DUPDATE_MIME=<update-mime-database>
#       -DUPDATE_DESKTOP=<update-desktop-database> -P check_mime_type.cmake
# The plan files as a desktop sees them once the package is installed: the MIME and desktop
# databases built from the package's files beside the system's, the type GIO gives each plan
# (by its content), an INI file of another kind that stays plain text, and the desktop program
# offered for plans.
cmake_minimum_required(VERSION 3.25)
set(type application/x-yalmera-plan)
file(REMOVE_RECURSE ${WORK})
file(COPY ${XML} DESTINATION ${WORK}/mime/packages)
file(COPY ${DESKTOP} DESTINATION ${WORK}/applications)
file(WRITE ${WORK}/other.ini "[Desktop]\nName=x\n")
execute_process(COMMAND ${UPDATE_MIME} ${WORK}/mime RESULT_VARIABLE failed ERROR_VARIABLE errors OUTPUT_QUIET)
if(failed OR errors MATCHES "[Ww]arning|[Ee]rror")
  message(FATAL_ERROR "update-mime-database refuses ${XML}: ${errors}")
endif()
execute_process(COMMAND ${UPDATE_DESKTOP} ${WORK}/applications RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "update-desktop-database failed on ${DESKTOP}")
endif()

# GIO offers a program only when it finds the program that Exec names.
set(environment LC_ALL=C.UTF-8 XDG_DATA_HOME=${WORK}/home XDG_DATA_DIRS=${WORK}:/usr/share "PATH=${PROGRAM_DIR}:$ENV{PATH}")
foreach(file IN LISTS PLANS ITEMS ${WORK}/other.ini)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${environment} ${GIO} info -a standard::content-type ${file}
                  OUTPUT_VARIABLE info COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE ".*standard::content-type: ([^\n]*).*" "\\1" found "${info}")
  if(file IN_LIST PLANS AND NOT found STREQUAL type)
    message(FATAL_ERROR "${file}: ${found}, not ${type}")
  elseif(NOT file IN_LIST PLANS AND found STREQUAL type)
    message(FATAL_ERROR "${file} is no plan, but its type is ${type}")
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${environment} ${GIO} mime ${type}
                OUTPUT_VARIABLE offered COMMAND_ERROR_IS_FATAL ANY)
if(NOT offered MATCHES "Registered applications:[^:]*yalmera\\.desktop")
  message(FATAL_ERROR "GIO does not offer yalmera.desktop for ${type}:\n${offered}")
endif()
message(STATUS "plans are ${type}, opened by yalmera.desktop")
