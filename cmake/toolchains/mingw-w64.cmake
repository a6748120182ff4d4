# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads
# variant, whose C++ runtime has std::thread). Programs link their runtime
# statically, so palvane-cli.exe runs without any DLL beside it. With wine64
# installed, ctest runs the test programs under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(PALVANE_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(PALVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PALVANE_WINE})
endif()

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
