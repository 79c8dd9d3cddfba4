# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DPAGES=<a.1;b.1> -DVERSION=<x.y.z> [-DGROFF=<groff>] [-DMANDOC=<mandoc>] -P check_man_pages.cmake
# Fails when a page's title line names another version of the programs.
# Fails on any warning of groff -ww and of mandoc -T lint (each where it is installed), and on a
# quotation that an alternating-font macro (.BR, .RB, .BI, ...) splits at a plain blank: roff takes
# the blank as the end of an argument, so `.BR \(dqСоздать протокол\(dq :` prints the words
# without it. Neither tool warns of that. A blank inside a quoted argument is meant, as in
# `.BI \(dqПротокол " S" .docx\(dq`, and so is one beside a mark alone (`\fBA:\fR \(dq`).
# Fails too where groff breaks a word across lines with a hyphen of its own (U+2010) at the
# page's width or a narrower terminal's: an option or a path broken so ("--proto-col") cannot be
# typed as shown. The pages turn hyphenation off (.nh). And fails when yalmera's page (either
# language) leaves out its plan-file operand or its exit codes of SIGHUP and SIGTERM.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/next_line.cmake)

set(faults "")
foreach(page IN LISTS PAGES)
  if(GROFF)
    # -k: the pages are UTF-8, which groff takes only through its preprocessor.
    execute_process(COMMAND ${GROFF} -k -man -Tutf8 -ww -z ${page} ERROR_VARIABLE said OUTPUT_QUIET)
    string(APPEND faults "${said}")
    foreach(width 80 60)
      execute_process(COMMAND ${GROFF} -k -man -Tutf8 -rLL=${width}n ${page} OUTPUT_VARIABLE shown ERROR_QUIET)
      if(shown MATCHES "([^\n]*)‐\n")
        string(APPEND faults "${page}: a word broken with a hyphen at ${width} columns: ${CMAKE_MATCH_1}‐\n")
      endif()
    endforeach()
  endif()
  if(MANDOC)
    execute_process(COMMAND ${MANDOC} -T lint -W warning ${page} OUTPUT_VARIABLE said ERROR_VARIABLE said2)
    string(APPEND faults "${said}${said2}")
  endif()

  file(READ ${page} text)
  if(page MATCHES "/yalmera\\.1$" AND NOT (text MATCHES "\n\\.RI \\[ PLAN\\.ini \\]\n"
                                             AND text MATCHES "\n129 [^\n]*SIGHUP[^\n]*143 [^\n]*SIGTERM"))
    string(APPEND faults "${page}: the synopsis lacks [PLAN.ini] or the exit codes lack 129 and 143\n")
  endif()
  if(NOT text MATCHES "\n\\.TH [^\n]*\"Yalmera Programmer ${VERSION}\"")
    string(APPEND faults "${page}: the .TH line names no \"Yalmera Programmer ${VERSION}\"\n")
  endif()
  set(number 0)
  while(NOT text STREQUAL "")
    yalmera_next_line(text line)
    math(EXPR number "${number} + 1")
    if(NOT line MATCHES "^\\.(BR|RB|BI|IB|IR|RI)[ \t]+(.*)$")
      continue()
    endif()
    set(rest "${CMAKE_MATCH_2}")
    set(open FALSE)          # inside \(dq ... \(dq
    set(last_quoted TRUE)
    set(last_words FALSE)
    while(NOT rest STREQUAL "")
      if(rest MATCHES "^\"([^\"]*)\"?[ \t]*(.*)$")
        set(argument "${CMAKE_MATCH_1}")
        set(quoted TRUE)
      elseif(rest MATCHES "^([^ \t]+)[ \t]*(.*)$")
        set(argument "${CMAKE_MATCH_1}")
        set(quoted FALSE)
      else()
        break()
      endif()
      set(rest "${CMAKE_MATCH_2}")
      # Whether the argument holds more than escapes and punctuation.
      string(REGEX REPLACE "\\\\(\\(..|f.|.)" "" words "${argument}")
      string(REGEX REPLACE "[].,;:!?()'\"[-]" "" words "${words}")
      set(has_words FALSE)
      if(NOT words STREQUAL "")
        set(has_words TRUE)
      endif()
      if(open AND NOT quoted AND NOT last_quoted AND has_words AND last_words)
        string(APPEND faults "${page}:${number}: a plain blank splits the quotation: ${line}\n")
        break()
      endif()
      string(REGEX MATCHALL "\\\\\\(dq" quotes "${argument}")
      list(LENGTH quotes count)
      math(EXPR odd "${count} % 2")
      if(odd)
        if(open)
          set(open FALSE)
        else()
          set(open TRUE)
        endif()
      endif()
      set(last_quoted ${quoted})
      set(last_words ${has_words})
    endwhile()
  endwhile()
endforeach()

if(NOT faults STREQUAL "")
  message(FATAL_ERROR "manual pages:\n${faults}")
endif()
message(STATUS "manual pages clean: ${PAGES}")
