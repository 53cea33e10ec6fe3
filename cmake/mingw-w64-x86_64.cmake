# Cross builds for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELVOR_MINGW_TRIPLE x86_64-w64-mingw32)

# The posix thread model: GCC 12's std::mutex and std::thread need it (the win32 one has
# neither).
find_program(CMAKE_C_COMPILER NAMES ${KELVOR_MINGW_TRIPLE}-gcc-posix ${KELVOR_MINGW_TRIPLE}-gcc
             REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KELVOR_MINGW_TRIPLE}-g++-posix ${KELVOR_MINGW_TRIPLE}-g++
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KELVOR_MINGW_TRIPLE}-windres)

# Libraries and headers for the target come from the cross root only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${KELVOR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
