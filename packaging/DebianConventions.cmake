# Run by CPack on the staged files before it packs them: Debian wants manual pages compressed
# with gzip -9n and no debugging symbols in shared objects, which the install rules leave to
# the package (the programs CPack strips itself).
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/man/*.[1-9]")
foreach(page ${pages})
  execute_process(COMMAND gzip -9nf ${page} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${page} failed")
  endif()
endforeach()
file(GLOB_RECURSE modules "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.so")
foreach(module ${modules})
  execute_process(COMMAND strip --strip-unneeded --remove-section=.comment --remove-section=.note ${module}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "strip ${module} failed")
  endif()
endforeach()
