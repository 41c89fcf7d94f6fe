# Windows, x86_64 (cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake).
set(MIRVANE_MINGW_TRIPLET x86_64-w64-mingw32)
set(MIRVANE_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
