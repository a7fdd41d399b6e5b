# What the two cross builds for Windows share, with Debian's MinGW-w64;
# cmake/mingw-w64-i686.cmake and cmake/mingw-w64-x86_64.cmake set MINGW_PREFIX
# and MARLIVA_WINDOWS_BITS and include this file.
set(CMAKE_SYSTEM_NAME Windows)

# The POSIX-thread variant: its C++ library has std::mutex and friends, which
# GoogleTest needs; -static links its thread library into the program.
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)
set(CMAKE_AR ${MINGW_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${MINGW_PREFIX}-ranlib CACHE FILEPATH "")

# Every program of this build runs on a bare Windows (or Wine) without the
# compiler's runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs built here run on Linux through Wine's loader for their width
# (scripts/wine-run.sh sets up the prefix); a caller may name another runner.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ${MARLIVA_WINDOWS_BITS})
endif()
