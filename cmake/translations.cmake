# SPDX-License-Identifier: GPL-3.0-or-later
# The command-line programs' own texts in Russian: translations/<program>_ru.ts (Qt Linguist), made
# into a .qm by lrelease when the project builds and compiled into the program as the resource
# :/translations/<program>_ru.qm, so that no installation can lose it. lrelease runs on the build
# machine (Debian: qt6-l10n-tools); a .qm is the same on every platform, so a cross build for
# Windows takes the host's. lupdate, beside it, serves the test that every text has its Russian.
find_program(YALMERA_LRELEASE NAMES lrelease lrelease-qt6
             HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS} ${QT_HOST_PATH}/lib/qt6/bin /usr/lib/qt6/bin
             NO_CMAKE_FIND_ROOT_PATH)
find_program(YALMERA_LUPDATE NAMES lupdate lupdate-qt6
             HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS} ${QT_HOST_PATH}/lib/qt6/bin /usr/lib/qt6/bin
             NO_CMAKE_FIND_ROOT_PATH)
if(NOT YALMERA_LRELEASE)
  message(FATAL_ERROR "lrelease builds the programs' Russian texts: install qt6-l10n-tools (scripts/setup.sh does)")
endif()
find_program(YALMERA_LCONVERT NAMES lconvert lconvert-qt6
             HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS} ${QT_HOST_PATH}/lib/qt6/bin /usr/lib/qt6/bin
             NO_CMAKE_FIND_ROOT_PATH)

# Qt's command-line parser words its own errors ("Unknown option 'x'."): their Russian, taken from
# Qt's translations (yalmera_qtbase_ru, the top CMakeLists.txt), goes into each program's .qm, so
# that an error line is in one language. Without Qt's translations they stay English.
set(yalmera_parser_ts "")
if(YALMERA_LCONVERT AND EXISTS ${yalmera_qtbase_ru})
  set(qtbase_ts ${PROJECT_BINARY_DIR}/translations/qtbase_ru.ts)
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/translations)
  execute_process(COMMAND ${YALMERA_LCONVERT} -i ${yalmera_qtbase_ru} -o ${qtbase_ts} RESULT_VARIABLE failed)
  if(NOT failed)
    file(READ ${qtbase_ts} text)
    string(FIND "${text}" "<name>QCommandLineParser</name>" name)
  endif()
  if(NOT failed AND name GREATER -1)
    string(SUBSTRING "${text}" 0 ${name} before)
    string(FIND "${before}" "<context>" start REVERSE)
    string(SUBSTRING "${text}" ${start} -1 context)
    string(FIND "${context}" "</context>" end)
    string(SUBSTRING "${context}" 0 ${end} context)
    set(yalmera_parser_ts ${PROJECT_BINARY_DIR}/translations/qcommandlineparser_ru.ts)
    file(WRITE ${yalmera_parser_ts}
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\" language=\"ru_RU\">\n"
         "${context}</context>\n</TS>\n")
  endif()
endif()
if(NOT yalmera_parser_ts)
  message(WARNING "Qt's Russian texts (Debian: qt6-translations-l10n) or lconvert are missing: the "
                  "command-line programs word errors of their options in English")
endif()

# The libraries' words for the common system errors (src/model/model_texts.h) are Russian, as the
# desktop program's windows show them; translations/system_errors_en.ts gives them in English.
set(YALMERA_SYSTEM_ERRORS_SOURCES ${PROJECT_SOURCE_DIR}/src/model/model_texts.h)
set(YALMERA_SYSTEM_ERRORS_TS ${PROJECT_SOURCE_DIR}/translations/system_errors_en.ts)

# yalmera_translations(<target> <folder>...): translations/<target>_ru.ts into the program, and the
# English side: the plural forms of its English texts ("%n channel(s)": "1 channel", "2 channels")
# from translations/<target>_en.ts where it has any, with the system errors in English. Its texts
# are those of the .cpp and .h files in the folders (the target's property
# YALMERA_TRANSLATED_SOURCES); `cmake --build build --target update_translations` takes new and
# changed ones into the .ts files with lupdate, for a translator to finish.
add_custom_target(update_translations)
if(YALMERA_LUPDATE)
  add_custom_target(update_translations_system_errors
                    COMMAND ${YALMERA_LUPDATE} -locations none -no-obsolete -source-language ru_RU
                            -target-language en ${YALMERA_SYSTEM_ERRORS_SOURCES} -ts ${YALMERA_SYSTEM_ERRORS_TS}
                    VERBATIM)
  add_dependencies(update_translations update_translations_system_errors)
endif()
function(yalmera_translations target)
  set(sources)
  foreach(folder IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
    list(APPEND sources ${found})
  endforeach()
  set_property(TARGET ${target} PROPERTY YALMERA_TRANSLATED_SOURCES ${sources})
  set(ts ${PROJECT_SOURCE_DIR}/translations/${target}_ru.ts)
  set(plurals_ts ${PROJECT_SOURCE_DIR}/translations/${target}_en.ts)
  if(YALMERA_LUPDATE)
    add_custom_target(update_translations_${target}
                      COMMAND ${YALMERA_LUPDATE} -locations none -no-obsolete -target-language ru_RU
                              ${sources} -ts ${ts}
                      COMMAND ${YALMERA_LUPDATE} -locations none -no-obsolete -pluralonly -target-language en
                              ${sources} -ts ${plurals_ts}
                      VERBATIM)
    add_dependencies(update_translations update_translations_${target})
  endif()

  set(qm_dir ${CMAKE_CURRENT_BINARY_DIR}/translations)
  set(qm ${qm_dir}/${target}_ru.qm)
  add_custom_command(OUTPUT ${qm}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${qm_dir}
                     COMMAND ${YALMERA_LRELEASE} -silent ${ts} ${yalmera_parser_ts} -qm ${qm}
                     DEPENDS ${ts} ${yalmera_parser_ts} VERBATIM)
  set(en_ts ${YALMERA_SYSTEM_ERRORS_TS})
  if(EXISTS ${plurals_ts})
    list(PREPEND en_ts ${plurals_ts})
  endif()
  set(qm_en ${qm_dir}/${target}_en.qm)
  add_custom_command(OUTPUT ${qm_en}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${qm_dir}
                     COMMAND ${YALMERA_LRELEASE} -silent ${en_ts} -qm ${qm_en}
                     DEPENDS ${en_ts} VERBATIM)
  qt_add_resources(${target} ${target}_translations PREFIX /translations BASE ${qm_dir} FILES ${qm} ${qm_en}
                   OPTIONS ${YALMERA_RCC_OPTIONS})
endfunction()
