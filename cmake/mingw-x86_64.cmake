# 64-bit Windows with Debian's mingw-w64 posix-thread compilers. Machines
# whose kernel cannot execute 32-bit code still run these programs under
# 64-bit wine, so the library's Windows behaviour is tested there too.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(RVX_WINE /usr/lib/wine/wine64 CACHE STRING "The wine loader for 64-bit Windows programs")
set(CMAKE_CROSSCOMPILING_EMULATOR ${RVX_WINE})
