# Cross build for Windows with mingw-w64 (posix threads), included by the
# per-architecture toolchain files, which set MIRVANE_MINGW_TRIPLET first.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MIRVANE_MINGW_ARCH})

set(CMAKE_C_COMPILER ${MIRVANE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MIRVANE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MIRVANE_MINGW_TRIPLET}-windres)

# Only the target's own files: nothing from the host's /usr/include or /usr/lib.
set(CMAKE_FIND_ROOT_PATH /usr/${MIRVANE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs that run on a bare Windows machine: the C, C++ and thread
# runtimes are linked in, so only system DLLs are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
