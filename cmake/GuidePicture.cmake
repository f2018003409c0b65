# Takes pictures of Kestrel's windows for the user guide with the program's
# own screenshot switch, on the demo in scratch data and settings folders,
# offscreen on a 1280 x 800 screen.
#
#   cmake -DKESTREL=... -DINSTALL_DEMO=... -DBUILD_DIR=... -DSCREEN=... -DSCRATCH=...
#         -DOUT=... -DTOOLS=... -DDELAY=... -DPICTURES=main=a.png,frmDx=b.png -P GuidePicture.cmake
#
# PICTURES names, for each window wanted, the file it goes to in OUT; "main"
# is the main window, anything else a window's object name.

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}/data" "${SCRATCH}/config" "${SCRATCH}/runtime" "${OUT}")
# Qt wants its runtime folder private.
file(CHMOD "${SCRATCH}/runtime" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

# Offline with an empty tile cache: the host map's pictures are the same on
# every build machine, and a build fetches nothing.
set(env KESTREL_DATA_DIR=${SCRATCH}/data KESTREL_CONFIG_DIR=${SCRATCH}/config
        XDG_RUNTIME_DIR=${SCRATCH}/runtime XDG_CACHE_HOME=${SCRATCH}/cache
        KESTREL_PROMPTS=stderr KESTREL_WORK_OFFLINE=1)

execute_process(COMMAND ${CMAKE_COMMAND} -E env ${env} "${INSTALL_DEMO}" "${BUILD_DIR}"
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err TIMEOUT 60)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "guide pictures: the demo could not be installed (${rc}):\n${err}")
endif()

string(REPLACE ";" "," tools "${TOOLS}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${env}
    "QT_QPA_PLATFORM=offscreen:configfile=${SCREEN}"
    "KESTREL_SCREENSHOT=${SCRATCH}/shot.png" "KESTREL_SCREENSHOT_DELAY=${DELAY}"
    "KESTREL_SCREENSHOT_TOOLS=${tools}"
    "${KESTREL}"
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err TIMEOUT 120)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "guide pictures: kestrel ended with ${rc}:\n${err}")
endif()

string(REPLACE "," ";" pictures "${PICTURES}")
foreach(pair IN LISTS pictures)
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 window)
  list(GET pair 1 picture)
  if(window STREQUAL "main")
    set(taken "${SCRATCH}/shot.png")
  else()
    set(taken "${SCRATCH}/shot-${window}.png")
  endif()
  if(NOT EXISTS "${taken}")
    message(FATAL_ERROR "guide pictures: kestrel showed no ${window} with the tools ${tools}:\n${err}")
  endif()
  file(COPY_FILE "${taken}" "${OUT}/${picture}")
endforeach()
file(REMOVE_RECURSE "${SCRATCH}")
