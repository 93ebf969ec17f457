# Cross-building for 64-bit Windows against the Qt kit of scripts/windows-kit, whose folder comes
# as LEXORANT_QT_KIT: the MinGW-w64 toolchain with the kit searched as a second root. Qt's DLLs
# use the MinGW runtime DLLs, so the programs do too (one C++ runtime in the process); they are
# shipped beside the programs.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw64.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT "")
# Checks of the compiler see the toolchain file again, without the cache.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LEXORANT_QT_KIT)
if(NOT LEXORANT_QT_KIT)
  message(FATAL_ERROR "LEXORANT_QT_KIT: the folder of the Qt kit (scripts/windows-kit --prefix)")
endif()
list(PREPEND CMAKE_FIND_ROOT_PATH ${LEXORANT_QT_KIT})
list(PREPEND CMAKE_PREFIX_PATH ${LEXORANT_QT_KIT})
# moc, rcc and uic are the host's, from Debian's Qt of the same version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
