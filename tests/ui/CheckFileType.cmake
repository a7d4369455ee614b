cmake_minimum_required(VERSION 3.25)
# The desktop as a file manager sees the installed tree in PREFIX: after update-mime-database, a
# document is of the type application/x-velmora-scene to xdg-mime (outside a known desktop it asks
# mimetype, from libfile-mimeinfo-perl, which Debian installs with xdg-utils) and to gio info
# (which GNOME-like desktops use), with the program's icon; after update-desktop-database, xdg-mime
# names the desktop entry as the program that opens it; the installed entry validates. Only the
# prefix and a scratch configuration folder are seen, never the user's own settings. Run by
# CTest as ui.installedFileType.
set(share ${PREFIX}/share)
set(scratch ${PREFIX}/file-type-check)
file(REMOVE_RECURSE ${scratch})
file(MAKE_DIRECTORY ${scratch}/config)
# Documents have no magic number: the bytes do not matter, the name does.
file(WRITE ${scratch}/scene.ato "not a real scene")

set(environment ${CMAKE_COMMAND} -E env --unset=XDG_CURRENT_DESKTOP --unset=DESKTOP_SESSION --unset=KDE_FULL_SESSION
    --unset=GNOME_DESKTOP_SESSION_ID XDG_DATA_HOME=${share} XDG_DATA_DIRS=/usr/share XDG_CONFIG_HOME=${scratch}/config
    HOME=${scratch} GIO_USE_VFS=local)

function(run out)
  execute_process(COMMAND ${environment} ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE error
                  TIMEOUT 30)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN}: status ${result}\n${output}${error}")
  endif()
  set(${out} "${output}" PARENT_SCOPE)
endfunction()

run(ignored update-mime-database ${share}/mime)
run(ignored update-desktop-database ${share}/applications)

run(type xdg-mime query filetype ${scratch}/scene.ato)
if(NOT type STREQUAL "application/x-velmora-scene\n")
  message(SEND_ERROR "xdg-mime query filetype: '${type}' (without a desktop it needs mimetype: scripts/setup.sh)")
endif()

run(info gio info -a standard::content-type,standard::icon ${scratch}/scene.ato)
if(NOT info MATCHES "standard::content-type: application/x-velmora-scene\n")
  message(SEND_ERROR "gio info does not see a Velmora scene:\n${info}")
endif()
if(NOT info MATCHES "standard::icon: velmora[,\n]")
  message(SEND_ERROR "a Velmora scene does not show the program's icon:\n${info}")
endif()

run(application xdg-mime query default application/x-velmora-scene)
if(NOT application STREQUAL "velmora.desktop\n")
  message(SEND_ERROR "xdg-mime: the program that opens a scene is '${application}', not velmora.desktop")
endif()

run(ignored desktop-file-validate ${share}/applications/velmora.desktop)
