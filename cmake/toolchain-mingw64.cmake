# Cross-building for 64-bit Windows with Debian's MinGW-w64 (posix threads, so that std::thread
# and std::mutex are there). The programs carry libgcc and libstdc++ inside, so that they run
# from any folder (and under Wine) without hunting for DLLs.
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
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
find_program(LEXORANT_WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(LEXORANT_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LEXORANT_WINE64})
endif()
