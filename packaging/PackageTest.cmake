# cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DPYTHON=... -P PackageTest.cmake: builds the Debian package, unpacks it
# with dpkg -x into a scratch root and runs velmora --version, velmora-batch --help and
# `import velmora` from there, each required to answer from the package's own files. (No ';' in
# the commands: CMake would split the argument there.)
set(scratch ${BUILD_DIR}/package-test)
file(REMOVE_RECURSE ${scratch})
file(MAKE_DIRECTORY ${scratch})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN}: status ${status}\n${out}${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

function(expect text pattern)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "expected '${pattern}' in:\n${text}")
  endif()
endfunction()

run(cpack -G DEB -B ${scratch} --config ${BUILD_DIR}/CPackConfig.cmake)
file(GLOB packages ${scratch}/velmora_*_amd64.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one velmora_<version>_amd64.deb in ${scratch}, found: ${packages}")
endif()
run(dpkg-deb -f ${packages} Depends)
expect("${output}" "python3-numpy")
expect("${output}" "libqt6gui6")
expect("${output}" "libmpfr6")
# lintian's errors (E:) fail the test; its warnings and notes are Debian's advice.
execute_process(COMMAND lintian --no-tag-display-limit ${packages} OUTPUT_VARIABLE lintian ERROR_VARIABLE lintian_err
                RESULT_VARIABLE lintian_status)
if(lintian MATCHES "(^|\n)E: ")
  message(FATAL_ERROR "lintian reports errors:\n${lintian}")
endif()
run(dpkg -x ${packages} ${scratch}/root)
set(root ${scratch}/root)
foreach(file share/man/man1/velmora-batch.1.gz share/applications/velmora.desktop share/mime/packages/velmora.xml
             lib/python3/dist-packages/velmora/_core.pyi share/doc/velmora/copyright
             share/doc/velmora/changelog.gz share/velmora/help/HelpUK/index.html)
  if(NOT EXISTS ${root}/usr/${file})
    message(FATAL_ERROR "the package has no /usr/${file}")
  endif()
endforeach()

file(GLOB_RECURSE help_sources ${root}/usr/share/velmora/help/*.cpp ${root}/usr/share/velmora/help/*.h)
if(help_sources)
  message(FATAL_ERROR "the package ships sources as help files: ${help_sources}")
endif()
# Nothing of the build machine's tree in the programs: they find their help pages at run time.
# (Qt keeps its string literals in UTF-16.) And each calls the C library's checked functions
# (__snprintf_chk and the like) that _FORTIFY_SOURCE puts in place of the plain ones.
file(GLOB programs ${root}/usr/bin/*)
foreach(program ${programs})
  file(STRINGS ${program} checked REGEX "^__[a-z0-9_]+_chk$")
  if(NOT checked)
    message(FATAL_ERROR "${program} calls none of the C library's checked functions: built without _FORTIFY_SOURCE")
  endif()
  foreach(encoding UTF-8 UTF-16LE)
    file(STRINGS ${program} paths ENCODING ${encoding} REGEX "${SOURCE_DIR}/")
    if(paths)
      message(FATAL_ERROR "${program} holds paths of the build machine: ${paths}")
    endif()
  endforeach()
endforeach()

run(${root}/usr/bin/velmora --version)
expect("${output}" "^Velmora [0-9]")
run(${root}/usr/bin/velmora-batch --help)
expect("${output}" "^usage: velmora-batch")
run(${CMAKE_COMMAND} -E env PYTHONPATH=${root}/usr/lib/python3/dist-packages
    ${PYTHON} -c "import velmora\nprint(velmora.__file__)\nprint(velmora.Scene.new().picture()[:4])")
expect("${output}" "^${root}/usr/lib/python3/dist-packages/velmora/__init__.py\nb'.x89PNG'")
