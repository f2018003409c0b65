# The main window and the kestrel program. Included after every subsystem
# folder so it can link what was built and leave out what was not.
add_library(kestrel_main STATIC
  ${CMAKE_SOURCE_DIR}/app/frmMain.cpp ${CMAKE_SOURCE_DIR}/app/frmMain.h
  ${CMAKE_SOURCE_DIR}/app/frmMainCommands.cpp
  ${CMAKE_SOURCE_DIR}/app/frmMainLink.cpp
  ${CMAKE_SOURCE_DIR}/app/frmMainWindows.cpp
  ${CMAKE_SOURCE_DIR}/app/frmSplash.cpp ${CMAKE_SOURCE_DIR}/app/frmSplash.h
  ${CMAKE_SOURCE_DIR}/app/LoadingSequence.cpp ${CMAKE_SOURCE_DIR}/app/LoadingSequence.h
  ${CMAKE_SOURCE_DIR}/app/ProgramWiring.cpp ${CMAKE_SOURCE_DIR}/app/ProgramWiring.h
  ${CMAKE_SOURCE_DIR}/app/SingleInstance.cpp ${CMAKE_SOURCE_DIR}/app/SingleInstance.h
  ${CMAKE_SOURCE_DIR}/app/ToolDefinitions.h
  ${CMAKE_SOURCE_DIR}/app/DefaultData.cpp ${CMAKE_SOURCE_DIR}/app/DefaultData.h
  ${CMAKE_SOURCE_DIR}/data/defaults.qrc
)
target_link_libraries(kestrel_main PUBLIC kestrel_core kestrel_options kestrel_dx Qt6::PrintSupport)

foreach(lib kestrel_host kestrel_stations)
  if(TARGET ${lib})
    string(TOUPPER ${lib} flag)
    string(REPLACE "KESTREL_" "KESTREL_HAVE_" flag ${flag})
    target_compile_definitions(kestrel_main PRIVATE ${flag})
    target_link_libraries(kestrel_main PUBLIC ${lib})
  endif()
endforeach()

add_executable(kestrel ${CMAKE_SOURCE_DIR}/app/main.cpp)
target_link_libraries(kestrel PRIVATE kestrel_main)
set_target_properties(kestrel PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/app)
