# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads), the runtime linked
# statically so the programs import only system DLLs. The top-level CMakeLists runs the test
# programs under Wine (cmake/wine-run).
#
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOLLEN_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOLLEN_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOLLEN_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TOLLEN_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOLLEN_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

