# Cross build for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686):
# the programs that ship.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_PREFIX i686-w64-mingw32)
set(MARLIVA_WINDOWS_BITS 32)

# Doubles computed in SSE2 registers, as on every 64-bit build: the x87 unit
# computes in extended precision, and a time that lies on a half frame then
# rounds the other way. Every Windows since 8 requires SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
