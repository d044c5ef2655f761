# Cross-builds for 64-bit Windows with Debian's MinGW-w64:
#   cmake -S . -B build-windows --toolchain cmake/toolchains/mingw-w64-x86_64.cmake
# The posix-thread variant of the compilers: the win32-thread one has no std::thread.
# Programs link statically, so no MinGW runtime DLL has to travel with them, and
# run under Wine when ctest runs them here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSAK_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TESSAK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSAK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSAK_MINGW_TRIPLET}-windres)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Libraries and headers come from the MinGW-w64 tree and from the prefixes given
# in CMAKE_FIND_ROOT_PATH (tools/build-windows.sh adds Lua's and GoogleTest's);
# programs (pkg-config, the compilers) from the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TESSAK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(TESSAK_WINE NAMES wine)
if(TESSAK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TESSAK_WINE})
endif()
