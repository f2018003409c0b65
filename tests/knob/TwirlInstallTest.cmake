# Install, use and uninstall twirl in a scratch prefix.
file(REMOVE_RECURSE "${PREFIX}")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

foreach(component libtwirl libtwirl-dev twirl-demo)
  run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --component ${component} --prefix "${PREFIX}")
endforeach()

set(plugin "${PREFIX}/${PLUGIN_DIR}/libtwirlplugin.so")
foreach(f "${PREFIX}/${LIBDIR}/libtwirl.so"
          "${PREFIX}/include/twirl/CTwirlCtrl.h"
          "${PREFIX}/include/twirl/CTwirlPropPage.h"
          "${PREFIX}/${LIBDIR}/cmake/twirl/twirlConfig.cmake"
          "${PREFIX}/${LIBDIR}/cmake/twirl/twirlConfigVersion.cmake"
          "${PREFIX}/bin/twirl-demo"
          "${plugin}")
  if(NOT EXISTS "${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

# The installed plugin must find the installed library by itself.
find_program(LDD ldd)
if(LDD)
  execute_process(COMMAND ${LDD} "${plugin}" OUTPUT_VARIABLE deps)
  if(deps MATCHES "not found")
    message(FATAL_ERROR "the installed plugin misses libraries:\n${deps}")
  endif()
  if(NOT deps MATCHES "libtwirl.so.1 => ${PREFIX}/")
    message(FATAL_ERROR "the installed plugin does not use the installed library:\n${deps}")
  endif()
endif()

set(consumer "${PREFIX}/consumer-build")
run(${CMAKE_COMMAND} -S "${CONSUMER_SOURCE}" -B "${consumer}" -DCMAKE_PREFIX_PATH=${PREFIX}
    -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS=${CONSUMER_FLAGS}"
    "-DCMAKE_EXE_LINKER_FLAGS=${CONSUMER_FLAGS}")
run(${CMAKE_COMMAND} --build "${consumer}")
run("${consumer}/twirl_consumer" "${plugin}")

run(${CMAKE_COMMAND} -DBUILD_DIR=${BUILD_DIR} -P "${UNINSTALL_SCRIPT}")
foreach(f "${PREFIX}/${LIBDIR}/libtwirl.so" "${PREFIX}/include/twirl" "${plugin}"
          "${PREFIX}/share/doc/libtwirl1" "${PREFIX}/share/man/man1/twirl-demo.1"
          "${PREFIX}/${LIBDIR}/cmake/twirl")
  if(EXISTS "${f}")
    message(FATAL_ERROR "left after uninstall: ${f}")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
