# What both mingw-w64 toolchain files share; each sets QR_MINGW_TRIPLE, the processor and the Wine that
# runs its programs first. The posix thread model gives std::mutex, std::thread and GoogleTest.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QR_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
