# Finds every package the build needs and, when one is missing, stops with a
# single line naming the Debian packages to install instead of CMake's page
# of search paths. The order puts a dependency before what needs it, so the
# package named is the one really missing (Charts fails when OpenGL does).
set(_kestrel_needs
  "Qt6:Core:qt6-base-dev"
  "Qt6:Concurrent:qt6-base-dev"
  "Qt6:Gui:qt6-base-dev"
  "Qt6:Widgets:qt6-base-dev"
  "Qt6:OpenGL:libqt6opengl6-dev"
  "Qt6:Charts:qt6-charts-dev"
  "Qt6:PrintSupport:qt6-base-dev"
  "Qt6:Network:qt6-base-dev"
  "Qt6:Sql:qt6-base-dev"
  "Qt6:Test:qt6-base-dev"
  "Qt6:Designer:qt6-tools-dev"
  "Qt6:UiPlugin:qt6-tools-dev"
  "GTest::libgtest-dev")
set(_kestrel_missing "")
foreach(need IN LISTS _kestrel_needs)
  string(REPLACE ":" ";" need "${need}")
  list(GET need 0 name)
  list(GET need 1 component)
  list(GET need 2 package)
  if(component)
    find_package(${name} 6.4 QUIET COMPONENTS ${component})
  else()
    find_package(${name} QUIET)
  endif()
  if(NOT ${name}${component}_FOUND)
    list(APPEND _kestrel_missing ${package})
  endif()
endforeach()
if(_kestrel_missing)
  list(REMOVE_DUPLICATES _kestrel_missing)
  string(REPLACE ";" " " _kestrel_missing "${_kestrel_missing}")
  message(FATAL_ERROR "Missing Debian packages: ${_kestrel_missing} (scripts/setup installs them)")
endif()
