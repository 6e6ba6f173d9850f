# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix thread model, which
# std::thread and std::mutex need). Used for the libraries and for the game alike.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VZ_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VZ_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VZ_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VZ_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VZ_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
