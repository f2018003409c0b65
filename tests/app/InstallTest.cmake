# Installs Kestrel into a scratch prefix the way a packager would and checks
# what a desktop finds there; then starts the installed program to see that
# it finds its shipped data in the prefix, not in the build tree.
file(REMOVE_RECURSE "${PREFIX}")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --component kestrel --prefix "${PREFIX}")

foreach(f bin/kestrel bin/kestrel-tool bin/kestrel-install-demo
          share/applications/kestrel.desktop
          share/icons/hicolor/scalable/apps/kestrel.svg
          share/icons/hicolor/16x16/apps/kestrel.png
          share/icons/hicolor/48x48/apps/kestrel.png
          share/icons/hicolor/256x256/apps/kestrel.png
          share/man/man1/kestrel-tool.1
          share/man/man1/kestrel.1
          share/metainfo/org.example.kestrel.metainfo.xml
          share/kestrel/defaults/Observer/ObserverLocations.txt
          share/kestrel/demo-host/UIVIEW32.INI
          share/kestrel/guide/index.html
          share/kestrel/guide/pictures/main-window.png)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

run(desktop-file-validate "${PREFIX}/share/applications/kestrel.desktop")

# The manual page carries every command of --help.
run("${PREFIX}/bin/kestrel-tool" --help)
set(help "${out}")
file(READ "${PREFIX}/share/man/man1/kestrel-tool.1" man)
if(NOT man MATCHES "^\\.TH KESTREL-TOOL 1")
  message(FATAL_ERROR "manual page without its title line")
endif()
string(REGEX MATCHALL "\n  ([a-z0-9]+) " commands "${help}")
foreach(command IN LISTS commands)
  string(STRIP "${command}" command)
  string(FIND "${man}" "${command}" at)
  if(at LESS 0)
    message(FATAL_ERROR "manual page lacks ${command}")
  endif()
endforeach()

# A marker among the installed defaults reaches a new data folder only if
# the installed program reads the installed share folder.
file(WRITE "${PREFIX}/share/kestrel/defaults/installed-marker.txt" "from the prefix\r\n")
set(data "${PREFIX}/run/data")
set(config "${PREFIX}/run/config")
file(MAKE_DIRECTORY "${data}" "${config}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env
    KESTREL_DATA_DIR=${data} KESTREL_CONFIG_DIR=${config} KESTREL_PROMPTS=stderr
    QT_QPA_PLATFORM=offscreen KESTREL_SCREENSHOT=${PREFIX}/run/shot.png
    "${PREFIX}/bin/kestrel"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "installed kestrel failed (${rc}):\n${err}")
endif()
foreach(f installed-marker.txt Observer/ObserverLocations.txt)
  if(NOT EXISTS "${data}/${f}")
    message(FATAL_ERROR "the installed program did not install ${f} from its share folder:\n${err}")
  endif()
endforeach()

# The installed demo installer runs the installed tool on the installed demo.
execute_process(COMMAND ${CMAKE_COMMAND} -E env KESTREL_DATA_DIR=${data} KESTREL_CONFIG_DIR=${config}
    "${PREFIX}/bin/kestrel-install-demo"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "installed kestrel-install-demo failed (${rc}):\n${err}")
endif()
foreach(f DemoHost/UIVIEW32.INI Keps/Keps.txt WxData/G4KWA.kew)
  if(NOT EXISTS "${data}/${f}")
    message(FATAL_ERROR "the installed demo installer did not write ${f}:\n${out}")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
