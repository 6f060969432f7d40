# Installs the build into a scratch prefix, as a packager would, and checks that the program, its
# manual page and its desktop integration land where the desktop looks for them, under the one
# application id.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -DBINDIR=... -DDATADIR=... -DMANDIR=... -DICON_SIZES=... -P this file

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(expected
  ${BINDIR}/tamapick
  ${DATADIR}/applications/${APP_ID}.desktop
  ${DATADIR}/metainfo/${APP_ID}.metainfo.xml
  ${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg
)
list(APPEND expected ${MANDIR}/man6/tamapick.6.gz ${DOCDIR}/fallback-face-OFL.txt)
foreach(side IN LISTS ICON_SIZES)
  list(APPEND expected ${DATADIR}/icons/hicolor/${side}x${side}/apps/${APP_ID}.png)
endforeach()
foreach(file IN LISTS expected)
  if(EXISTS ${PREFIX}/${file})
    message(STATUS "installed: ${file}")
  else()
    message(SEND_ERROR "not installed: ${file}")
  endif()
endforeach()

file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(LENGTH installed count)
list(LENGTH expected expected_count)
if(NOT count EQUAL expected_count)
  message(SEND_ERROR "expected only the files above, found: ${installed}")
endif()

# The desktop finds the icon by the entry's Icon key and the entry by the record's launchable.
file(READ ${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop entry)
if(NOT entry MATCHES "\nIcon=${APP_ID}\n" OR NOT entry MATCHES "\nExec=tamapick\n")
  message(SEND_ERROR "the desktop entry does not name the icon ${APP_ID} and the program tamapick:\n${entry}")
endif()
# On X11 the task bar knows a window by its class, which Qt takes from the application name, not
# by the desktop file name; the entry must name that class or the window shows as a stranger.
if(NOT entry MATCHES "\nStartupWMClass=tamapick\n")
  message(SEND_ERROR "the desktop entry does not claim the window class tamapick:\n${entry}")
endif()
file(READ ${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml record)
if(NOT record MATCHES "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>")
  message(SEND_ERROR "the AppStream record does not launch ${APP_ID}.desktop")
endif()
