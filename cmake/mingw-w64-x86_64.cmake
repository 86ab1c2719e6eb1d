# Cross-building the Windows programs on Linux with Debian's MinGW-w64 compilers
# (g++-mingw-w64-x86-64-posix): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# The posix thread variant is the one whose C++ library has std::thread, which the tone's
# worker and GoogleTest need. Everything is linked statically, so the programs need no DLL
# beside them but the system's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CALVETH_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CALVETH_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CALVETH_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${CALVETH_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CALVETH_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The GCC runtime, the C++ library and winpthread inside each program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Programs built here run under Wine when tests start them.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Release programs without their symbol tables: a third of the size.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
