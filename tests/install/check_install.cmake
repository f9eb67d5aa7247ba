# Installs the build into a temporary DESTDIR, as a package would, and has
# the desktop's own validators check the menu entry and the AppStream
# metadata. Arguments: -DBUILD=<build tree> -DAPP_ID=<component id>.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(NOT DESKTOP_FILE_VALIDATE OR NOT APPSTREAMCLI)
  message("SKIPPED: desktop-file-validate or appstreamcli is not installed (Debian packages desktop-file-utils, appstream)")
  return()
endif()

set(tmp "$ENV{TMPDIR}")
if(NOT tmp)
  set(tmp /tmp)
endif()
string(RANDOM LENGTH 10 tag)
set(dest "${tmp}/loomplay-install-${tag}")

execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${dest} ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
set(problems "")
if(NOT rc EQUAL 0)
  string(APPEND problems "cmake --install failed (${rc}):\n${out}\n")
endif()

set(expected
  usr/games/loomplay
  usr/share/applications/${APP_ID}.desktop
  usr/share/metainfo/${APP_ID}.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/loomplay.svg
  usr/share/man/man6/loomplay.6.gz
  usr/share/doc/loomplay/copyright
  usr/share/doc/loomplay/changelog.gz
  usr/share/games/loomplay/demo/Config/General)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/loomplay.png)
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS "${dest}/${file}")
    string(APPEND problems "not installed: /${file}\n")
  endif()
endforeach()

execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} "${dest}/usr/share/applications/${APP_ID}.desktop"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
  string(APPEND problems "desktop-file-validate:\n${out}\n")
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --pedantic "${dest}/usr/share/metainfo/${APP_ID}.metainfo.xml"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  string(APPEND problems "appstreamcli validate:\n${out}\n")
endif()
# The metadata, the menu entry and the icon agree with one another.
execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net "${dest}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  string(APPEND problems "appstreamcli validate-tree:\n${out}\n")
endif()

file(REMOVE_RECURSE "${dest}")
if(problems)
  message(FATAL_ERROR "${problems}")
endif()
message("The installed files pass desktop-file-validate and appstreamcli.")
