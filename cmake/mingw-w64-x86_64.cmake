# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads
# variant, which has std::thread and std::mutex). Used for build-win64/:
#   cmake -S . -B build-win64 --toolchain cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(huegrab_mingw_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${huegrab_mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${huegrab_mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${huegrab_mingw_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${huegrab_mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked in, so that wine needs none of MinGW's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
