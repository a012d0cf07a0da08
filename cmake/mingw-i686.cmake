# Cross-compiles the 32-bit Windows program with mingw-w64 and runs its test programs under 32-bit Wine
# (only hosts that run 32-bit code can).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QR_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
# SSE2 arithmetic instead of x87: geometry and blending round as in the 64-bit build, so both draw the
# same pixels. Every Windows this program runs on has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
