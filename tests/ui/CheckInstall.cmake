# Installs the build into PREFIX and checks that the programs, their manual pages, the help
# files, the desktop entry, the document type and the icons are there. Run by CTest as
# ui.install, which the tests of the installed tree need first.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(expected
  bin/velmora
  bin/velmora-batch
  bin/velmora-render
  share/man/man1/velmora.1
  share/man/man1/velmora-batch.1
  share/man/man1/velmora-render.1
  share/applications/velmora.desktop
  share/mime/packages/velmora.xml
  share/icons/hicolor/scalable/apps/velmora.svg
  share/icons/hicolor/16x16/apps/velmora.png
  share/icons/hicolor/32x32/apps/velmora.png
  share/icons/hicolor/48x48/apps/velmora.png
  share/icons/hicolor/256x256/apps/velmora.png
  share/velmora/help/HelpUK/index.html
  share/velmora/help/HlpArtRu/index.html
  share/velmora/help/HlpArtPl/index.html)
foreach(path ${expected})
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
if(NOT IS_DIRECTORY ${PREFIX}/share/velmora/help/HelpUK OR NOT EXISTS ${PREFIX}/share/velmora/help/HelpUK/files.html)
  message(FATAL_ERROR "help pages incomplete")
endif()
