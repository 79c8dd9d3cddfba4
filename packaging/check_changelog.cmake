# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DWRITER=<debian_changelog.cmake> -DINPUT=<CHANGELOG.md> -DOUTPUT=<file> -DVERSION=<x.y.z>
#       -DDEBIAN_CHANGELOG=<debian/changelog> "-DDOCUMENTS=<README.md;guide>" -P check_changelog.cmake
# changelog.gz as the writer makes it from CHANGELOG.md: every section an entry of its own,
# VERSION's (or VERSION+unreleased's) first, and lines of at most 78 characters (not bytes: most of the
# text is Russian) that end only where the next word would not fit.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/next_line.cmake)
function(write_changelog input output)
  execute_process(COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DPACKAGE=yalmera -DVERSION=${VERSION}
                          "-DMAINTAINER=Maintainer <m@example.invalid>" -DEPOCH=0 -P ${WRITER}
                  COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# Changes after a released VERSION: an entry of their own, after VERSION.
file(READ ${INPUT} text)
if(text MATCHES "\n## \\[${VERSION}\\] - ")
  string(FIND "${text}" "\n## " at)
  string(SUBSTRING "${text}" 0 ${at} before)
  string(SUBSTRING "${text}" ${at} -1 after)
  file(WRITE ${OUTPUT}.md "${before}\n## [Unreleased]\n\n### Added\n- A change.\n${after}")
  write_changelog(${OUTPUT}.md ${OUTPUT})
  file(STRINGS ${OUTPUT} unreleased REGEX "^yalmera ")
  list(GET unreleased 0 first)
  list(GET unreleased 1 second)
  if(NOT first MATCHES "^yalmera \\(${VERSION}\\+unreleased\\) " OR NOT second MATCHES "^yalmera \\(${VERSION}\\) ")
    message(FATAL_ERROR "changes after ${VERSION}, then ${VERSION}: \"${first}\", \"${second}\"")
  endif()
endif()

write_changelog(${INPUT} ${OUTPUT})
file(READ ${OUTPUT} text)

file(STRINGS ${INPUT} sections REGEX "^## \\[")
list(LENGTH sections versions)
string(REGEX MATCHALL "\n -- [^\n]+" trailers "\n${text}")
list(LENGTH trailers entries)
if(NOT text MATCHES "^yalmera \\(${VERSION}(\\+unreleased)?\\) " OR NOT entries EQUAL versions)
  message(FATAL_ERROR "${entries} entries for ${versions} sections, the first:\n${text}")
endif()

string(ASCII 128 continuation_first)
string(ASCII 191 continuation_last)
function(character_length out text)
  string(REGEX REPLACE "[${continuation_first}-${continuation_last}]" "" text "${text}")
  string(LENGTH "${text}" length)
  set(${out} ${length} PARENT_SCOPE)
endfunction()

set(previous "")
set(faults "")
while(NOT text STREQUAL "")
  yalmera_next_line(text line)
  character_length(length "${line}")
  if(length GREATER 78)
    string(APPEND faults "longer than 78 characters: ${line}\n")
  endif()
  # A continued line: its first word would have fitted on the line before.
  if(line MATCHES "^      ([^ ]+)" AND NOT previous STREQUAL "")
    character_length(room "${previous} ${CMAKE_MATCH_1}")
    if(NOT room GREATER 78)
      string(APPEND faults "wrapped too early: ${previous}\n")
    endif()
  endif()
  set(previous "${line}")
endwhile()
if(faults)
  message(FATAL_ERROR "${faults}")
endif()

# The source package packs VERSION, and the documents name the package file it makes.
file(STRINGS ${DEBIAN_CHANGELOG} first_line LIMIT_COUNT 1)
if(NOT first_line MATCHES "^yalmera \\((${VERSION}-[0-9]+)\\) ")
  message(FATAL_ERROR "${DEBIAN_CHANGELOG} does not begin with version ${VERSION}: ${first_line}")
endif()
set(package_file yalmera_${CMAKE_MATCH_1}_amd64.deb)
foreach(document IN LISTS DOCUMENTS)
  file(READ ${document} text)
  string(FIND "${text}" "${package_file}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${document} does not name ${package_file}")
  endif()
endforeach()
message(STATUS "${entries} entries, lines of at most 78 characters; ${package_file}")
