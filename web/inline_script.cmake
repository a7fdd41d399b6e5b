# marliva.html: the page with the version and the engine's script in place.
# usage: cmake -DPAGE=page.html -DSCRIPT=marliva.js -DOUTPUT=marliva.html -DVERSION=1.0.0 -P inline_script.cmake
file(READ ${PAGE} page)
file(READ ${SCRIPT} script)
# The script must not end the script element it stands in.
string(TOLOWER "${script}" lower)
string(FIND "${lower}" "</script" closing)
if(NOT closing EQUAL -1)
  message(FATAL_ERROR "${SCRIPT} holds </script; it cannot be inlined")
endif()
string(REPLACE "@MARLIVA_VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@MARLIVA_SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
