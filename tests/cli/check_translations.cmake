# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DLUPDATE=<lupdate> -DLRELEASE=<lrelease> -DTS=<program>_ru.ts -DSOURCES=<a.cpp;b.h>
#       -DWORK=<folder> [-DPLURALS=ON] [-DSOURCE_LANGUAGE=ru_RU] -P check_translations.cmake
# Fails when a text of the program has no finished translation: lupdate takes the sources' texts
# into a copy of the .ts (a text new or changed since the .ts was made comes in unfinished; a .ts
# not there yet holds none), and lrelease must find none unfinished. PLURALS: only the texts with
# plural forms ("%n channel(s)"), whose English singular and plural a <program>_en.ts gives.
# Otherwise fails too on an English sentence (two Latin words in a row) left outside tr(), which
# lupdate cannot see.
cmake_minimum_required(VERSION 3.25)

get_filename_component(name ${TS} NAME)
file(MAKE_DIRECTORY ${WORK})
file(REMOVE ${WORK}/${name})
set(languages -target-language ru_RU)
if(PLURALS)
  set(languages -pluralonly -target-language en)
elseif(SOURCE_LANGUAGE)
  set(languages -source-language ${SOURCE_LANGUAGE} -target-language en)
endif()
if(EXISTS ${TS})
  file(COPY_FILE ${TS} ${WORK}/${name})
endif()
execute_process(COMMAND ${LUPDATE} -silent -locations none -no-obsolete ${languages} ${SOURCES}
                        -ts ${WORK}/${name}
                RESULT_VARIABLE failed ERROR_QUIET)
if(failed)
  message(FATAL_ERROR "${LUPDATE} failed on ${name}")
endif()
execute_process(COMMAND ${LRELEASE} ${WORK}/${name} -qm ${WORK}/${name}.qm
                OUTPUT_VARIABLE said ERROR_VARIABLE said RESULT_VARIABLE failed)
set(faults "")
if(failed OR NOT said MATCHES "\\(([0-9]+) finished and ([0-9]+) unfinished\\)")
  string(APPEND faults "${LRELEASE} failed:\n${said}")
elseif(NOT CMAKE_MATCH_2 EQUAL 0 OR said MATCHES "untranslated")
  string(APPEND faults "${TS}: texts without a finished translation (cmake --build build --target update_translations, then translate them):\n${said}")
endif()

if(PLURALS OR SOURCE_LANGUAGE)
  set(SOURCES "")
endif()
foreach(source IN LISTS SOURCES)
  file(READ ${source} text)
  # Escaped backslashes and quotes, and quotes as characters, would end a text too early.
  string(REPLACE "\\\\" "_" text "${text}")
  string(REPLACE "\\\"" "_" text "${text}")
  string(REPLACE "'\"'" "_" text "${text}")
  # Comments: after a blank, a bracket or at a line's start ("file://" inside a text stays).
  string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" "" text "${text}")
  string(REGEX REPLACE "(^|[ \t\n;{}(),])//[^\n]*" "\\1" text "${text}")
  # Compile-time messages, to the developer.
  string(REGEX REPLACE "static_assert\\([^;]*;" "" text "${text}")
  # The texts tr() takes, its disambiguation included, and those of QT_TRANSLATE_NOOP(context, text)
  # and translate(context, text).
  set(literals "([ \t\r\n]*\"[^\"]*\")+")
  string(REGEX REPLACE "(tr|NOOP|translate)\\(${literals}([ \t\r\n]*,${literals})?" "tr(" text "${text}")
  string(REGEX MATCHALL "\"[^\"]*\"" left "${text}")
  foreach(literal IN LISTS left)
    if(literal MATCHES "[A-Za-z][a-z]* [a-z]+")
      string(APPEND faults "${source}: English text outside tr(): ${literal}\n")
    endif()
  endforeach()
endforeach()

if(NOT faults STREQUAL "")
  message(FATAL_ERROR "${faults}")
endif()
message(STATUS "${name}: every text translated")
