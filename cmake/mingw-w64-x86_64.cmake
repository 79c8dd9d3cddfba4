# Cross-building for 64-bit Windows with Debian's mingw-w64. The -posix compilers give
# std::thread and std::mutex, which the link's worker and the tests need.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_AR x86_64-w64-mingw32-gcc-ar-posix)
set(CMAKE_RANLIB x86_64-w64-mingw32-gcc-ranlib-posix)

# Libraries and headers come from the target prefixes only; programs from the host.
# YALMERA_WINDOWS_PREFIX holds the cross-built Qt, zlib, libzip and GoogleTest.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES YALMERA_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${YALMERA_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Wine runs what the build makes (test discovery, the suite).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
