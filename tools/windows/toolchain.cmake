# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread
# model: std::thread needs it). KORVAMO_WINDOWS_PREFIX, where the cross-built
# libraries are installed, is searched for them and nowhere else on this machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${triple}-ranlib CACHE FILEPATH "")

list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KORVAMO_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${KORVAMO_WINDOWS_PREFIX})
set(CMAKE_PREFIX_PATH ${KORVAMO_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The GCC, C++ and threads runtimes go into each program and DLL, so a player
# needs no MinGW DLLs beside the game. (SDL2 is still a DLL: it is linked
# through its import library.)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc")

# Tests run the Windows programs under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
