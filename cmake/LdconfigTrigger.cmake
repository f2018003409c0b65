# Run by cpack once the packages are made. libtwirl1's "triggers" file has
# dpkg refresh the loader cache; the scripts CPack adds to run ldconfig
# themselves are taken out again, as Debian policy asks.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(name "${deb}" NAME)
  if(NOT name MATCHES "^libtwirl1_")
    continue()
  endif()
  set(tree "${deb}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND dpkg-deb --raw-extract "${deb}" "${tree}" RESULT_VARIABLE rc)
  if(rc EQUAL 0)
    file(REMOVE "${tree}/DEBIAN/postinst" "${tree}/DEBIAN/postrm")
    execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build "${tree}" "${deb}"
      OUTPUT_QUIET RESULT_VARIABLE rc)
  endif()
  file(REMOVE_RECURSE "${tree}")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot take the ldconfig scripts out of ${name}")
  endif()
endforeach()
