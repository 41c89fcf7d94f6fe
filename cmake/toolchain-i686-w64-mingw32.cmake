# Windows, i686 (cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake).
set(MIRVANE_MINGW_TRIPLET i686-w64-mingw32)
set(MIRVANE_MINGW_ARCH i686)
# Every 32-bit Windows still supported (10 and, before it, 8) requires SSE2:
# the vector code takes it as on x86-64, and floating point is done in SSE
# registers as there, not in the x87's 80 bits, so that both builds compute
# the same.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
