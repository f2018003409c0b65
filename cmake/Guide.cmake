# The user guide: the pages in data/guide, and pictures of the windows they
# describe, taken by the program itself in the build. Both go to
# share/kestrel/guide, where Help > Contents finds them in the build tree and
# once installed. The pictures are taken again when the shots below change
# (not at every rebuild of the program); remove share/kestrel/guide/pictures
# in the build to retake them.

set(guide_source ${CMAKE_SOURCE_DIR}/data/guide)
set(guide_build ${KESTREL_BUILD_SHARE_DIR}/guide)
set(guide_pictures ${guide_build}/pictures)

# A screen the size the guide shows Kestrel on, for the offscreen platform.
set(KESTREL_GUIDE_SCREEN ${CMAKE_BINARY_DIR}/offscreen-1280x800.json)
file(WRITE ${KESTREL_GUIDE_SCREEN}
  "{ \"screens\": [ { \"name\": \"guide\", \"x\": 0, \"y\": 0, \"width\": 1280, \"height\": 800,"
  " \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1 } ] }\n")

file(GLOB guide_pages CONFIGURE_DEPENDS ${guide_source}/*.html)
set(guide_page_outputs)
foreach(page IN LISTS guide_pages)
  get_filename_component(name ${page} NAME)
  add_custom_command(OUTPUT ${guide_build}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page} ${guide_build}/${name}
    DEPENDS ${page})
  list(APPEND guide_page_outputs ${guide_build}/${name})
endforeach()
set(guide_outputs ${guide_page_outputs})

# One run of the program per shot: its tools (KESTREL_SCREENSHOT_TOOLS), the
# wait before the picture, and which windows go to which picture.
set(guide_shots main windows options about logs satsetup info floating help setup messages)
set(shot_main_tools "Wait=3000")
set(shot_main_pictures "main=main-window.png;frmDocument=station-list.png;HostMapWindow=host-map.png")
set(shot_windows_tools "Select=G4KWA;ID_WXDisplay;Wait=3000;ID_Inbound;ID_DXClusterDisplay;Tab=40M;ID_Statistics;ID_SatelliteStatus;ID_Capture;Wait=1500")
set(shot_windows_pictures "frmWx=weather.png;frmWxToolbar=chart-tools.png;frmIncoming=terminal.png;frmDx=dx-cluster.png;frmStatistics=statistics.png;frmSatStatus=satellite-status.png;frmCapture=capture.png")
set(shot_options_tools "ID_Options")
set(shot_options_pictures "frmOptions=options.png")
set(shot_about_tools "ID_About...")
set(shot_about_pictures "frmAbout=about.png")
set(shot_logs_tools "ID_LogMaintenance")
set(shot_logs_pictures "frmLogMaintenance=log-maintenance.png")
set(shot_satsetup_tools "ID_SatelliteSetup")
set(shot_satsetup_pictures "frmSatSetup=satellite-setup.png")
set(shot_info_tools "Select=G4KDA;ID_Properties")
set(shot_info_pictures "frmStationInfo=station-information.png")
set(shot_floating_tools "ID_ShowHide;Wait=2000")
set(shot_floating_pictures "frmStations=floating-toolbar.png")
set(shot_messages_tools "ID_Messages;Wait=1000")
set(shot_messages_pictures "frmMessages=messages.png")
set(shot_help_tools "ID_Contents")
set(shot_help_pictures "frmHelp=help.png")
set(shot_setup_tools "HostStation;HostFeeds;Wait=1500")
set(shot_setup_pictures "frmStationSetup=station-window.png;frmFeeds=feeds-window.png")
# The guide's own window shows its pages.
set(shot_help_needs ${guide_page_outputs})

foreach(shot IN LISTS guide_shots)
  set(outputs)
  foreach(pair IN LISTS shot_${shot}_pictures)
    string(REGEX REPLACE "^[^=]*=" "" picture "${pair}")
    list(APPEND outputs ${guide_pictures}/${picture})
  endforeach()
  string(REPLACE ";" "," tools "${shot_${shot}_tools}")
  string(REPLACE ";" "," pictures "${shot_${shot}_pictures}")
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -DKESTREL=$<TARGET_FILE:kestrel> -DINSTALL_DEMO=${CMAKE_SOURCE_DIR}/scripts/install-demo
            -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSCREEN=${KESTREL_GUIDE_SCREEN} -DSCRATCH=${CMAKE_BINARY_DIR}/guide-shots/${shot}
            -DOUT=${guide_pictures} -DTOOLS=${tools} -DDELAY=700 -DPICTURES=${pictures}
            -P ${CMAKE_SOURCE_DIR}/cmake/GuidePicture.cmake
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/GuidePicture.cmake ${CMAKE_SOURCE_DIR}/cmake/Guide.cmake ${shot_${shot}_needs}
    COMMENT "Taking the guide's pictures: ${shot}"
    VERBATIM)
  list(APPEND guide_outputs ${outputs})
endforeach()

add_custom_target(kestrel-guide ALL DEPENDS ${guide_outputs})
# Built first, without making every rebuild of the program retake the pictures.
add_dependencies(kestrel-guide kestrel kestrel-tool)

install(DIRECTORY ${guide_build} COMPONENT kestrel DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrel)
