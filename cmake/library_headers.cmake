# Each library's headers are reachable only through its own target, so that the layering holds
# for header-only code too: a file includes "image/device_image.h" only where its target links
# yalmera_image, and an include that skips a layer (image including "link/...") finds no file.
#
# The sources keep one folder per library (src/image) and include each other as "image/x.h". The
# folder is served under an include root of its own in the build tree, <build>/include/image, as
# a symbolic link image -> src/image (as Bazel's virtual includes do); only that root is on the
# include path of the library and of whoever links it. Where the platform makes no links, the
# headers are copied there instead, and copied again whenever CMake runs after one changed.

# yalmera_library_headers(TARGET): the calling folder's headers, for TARGET and its users.
function(yalmera_library_headers target)
  get_filename_component(folder "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
  set(root "${PROJECT_BINARY_DIR}/include/${folder}")
  set(served "${root}/${folder}")
  # A link left by a source tree elsewhere (a moved checkout) is made anew.
  if(IS_SYMLINK "${served}")
    file(READ_SYMLINK "${served}" linked)
    if(NOT linked STREQUAL CMAKE_CURRENT_SOURCE_DIR)
      file(REMOVE "${served}")
    endif()
  endif()
  if(NOT IS_SYMLINK "${served}" AND NOT EXISTS "${served}")
    file(MAKE_DIRECTORY "${root}")
    file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${served}" RESULT failure SYMBOLIC)
    if(failure)
      file(MAKE_DIRECTORY "${served}")
    endif()
  endif()
  if(NOT IS_SYMLINK "${served}")
    file(GLOB headers RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}" CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    foreach(header ${headers})
      configure_file("${header}" "${served}/${header}" COPYONLY)
    endforeach()
  endif()
  target_include_directories(${target} PUBLIC "${root}")
endfunction()
