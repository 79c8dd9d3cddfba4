# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack after it packs (CPACK_POST_BUILD_SCRIPTS): the members of a Debian package's ar
# archive (debian-binary, control.tar.*, data.tar.*) get the mode 100644 in their headers, as
# dpkg-deb writes them. CPack takes the modes of the files it wrote, and so the umask of whoever
# packs; this makes two packs of one build the same under any umask. A header is 60 bytes after
# the 8-byte "!<arch>\n": name 16, time 12, owner 6, group 6, mode 8, size 10, end 2.
cmake_minimum_required(VERSION 3.25)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  file(SIZE ${package} end)
  set(offset 8)
  while(offset LESS end)
    file(READ ${package} header OFFSET ${offset} LIMIT 60)
    string(SUBSTRING "${header}" 40 8 mode)
    string(SUBSTRING "${header}" 48 10 size)
    string(STRIP "${size}" size)
    if(NOT size MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${package}: no ar member header at byte ${offset}")
    endif()
    if(NOT mode STREQUAL "100644  ")
      math(EXPR at "${offset} + 40")
      execute_process(COMMAND printf "100644  "
                      COMMAND dd of=${package} bs=1 seek=${at} conv=notrunc status=none
                      RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR "${package}: the mode of the member at byte ${offset} stays ${mode}")
      endif()
    endif()
    # The member's data is padded to an even length.
    math(EXPR offset "${offset} + 60 + ${size} + ${size} % 2")
  endwhile()
endforeach()
