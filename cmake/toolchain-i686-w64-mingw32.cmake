# Windows, i686 (cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake).
set(MIRVANE_MINGW_TRIPLET i686-w64-mingw32)
set(MIRVANE_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
