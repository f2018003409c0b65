# Run by cpack once the packages' files are staged: manual pages go into a
# Debian package compressed, without a name or time stamp in the header.
file(GLOB_RECURSE staged "${CPACK_TEMPORARY_DIRECTORY}/*")
list(FILTER staged INCLUDE REGEX "/share/man/man[1-9]/[^/]+\\.[1-9]$")
foreach(page IN LISTS staged)
  execute_process(COMMAND gzip -9nf "${page}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot compress ${page}")
  endif()
endforeach()
