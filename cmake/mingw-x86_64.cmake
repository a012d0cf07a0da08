# Cross-compiles the 64-bit Windows program with mingw-w64 and runs its test programs under 64-bit Wine
# (called by its own loader: Debian's wine wrapper picks the 32-bit one whenever it is installed).
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
