# Runs cpack for the "packages" target:
#   cmake -DCPACK=... -DBUILD_DIR=... -P MakePackages.cmake
# cpack's own install rewrites the build's install manifests with the
# packages' paths (/usr/...), which twirl-uninstall would then delete from
# the system; the manifests of the last real install are put back.
file(GLOB manifests "${BUILD_DIR}/install_manifest*.txt")
set(saved "${BUILD_DIR}/packaging/saved-manifests")
file(REMOVE_RECURSE "${saved}")
file(MAKE_DIRECTORY "${saved}")
if(manifests)
  file(COPY ${manifests} DESTINATION "${saved}")
endif()

execute_process(COMMAND "${CPACK}" --config "${BUILD_DIR}/CPackConfig.cmake"
  WORKING_DIRECTORY "${BUILD_DIR}" RESULT_VARIABLE rc)

file(GLOB written "${BUILD_DIR}/install_manifest*.txt")
if(written)
  file(REMOVE ${written})
endif()
file(GLOB kept "${saved}/*")
if(kept)
  file(COPY ${kept} DESTINATION "${BUILD_DIR}")
endif()
file(REMOVE_RECURSE "${saved}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed (${rc})")
endif()
