# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64):
# built and tested, as Wine runs it without the kernel's 32-bit support.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
set(MARLIVA_WINDOWS_BITS 64)

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
