# The hardening of Debian's packages (dpkg-buildflags with hardening=+all) on
# every build for Linux: position-independent programs, the stack protector and
# stack clash protection, checked string and memory functions where the sizes
# are known (_FORTIFY_SOURCE, which needs the optimiser and is left to the
# sanitizers' own checks in their builds), and a read-only relocation table
# bound at start-up (relro, bind-now).
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()
option(MARLIVA_HARDENING "Build with the distribution's hardening flags" ON)
if(NOT MARLIVA_HARDENING)
  return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -fstack-clash-protection -Wformat
                    -Werror=format-security)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|i[3-6]86)$")
  add_compile_options(-fcf-protection)
endif()
if(NOT MARLIVA_SANITIZE)
  add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
endif()
add_link_options(-Wl,-z,relro -Wl,-z,now)
