# Debian packages made by CPack from the install components:
#   kestrel       the program, kestrel-tool, the demo installer, shipped data,
#                 desktop entry, AppStream metadata, icons, manual pages
#   libtwirl1     the knob library (named after its SONAME, libtwirl.so.1)
#   libtwirl-dev  headers, CMake package and the Qt Designer plugin: forms
#                 using the knob are made by the people who compile them
#   twirl-demo    the knob demo
# "cmake --build build --target packages" writes them to build/packages,
# with the screenshots the AppStream metadata points at.

set(KESTREL_PACKAGE_MAINTAINER "Kestrel developers <kestrel@example.org>" CACHE STRING
    "Maintainer field of the Debian packages")
set(KESTREL_HOMEPAGE "" CACHE STRING "The project's web page, for the packages and AppStream (none yet)")
set(KESTREL_SCREENSHOT_URL "https://kestrel.example.org/screenshots" CACHE STRING
    "Where the screenshots in build/packages/screenshots are published")
set(KESTREL_APPSTREAM_ID org.example.kestrel)
set(KESTREL_SCREENSHOTS kestrel-stations kestrel-dx)

set(KESTREL_PACKAGE_DIR ${CMAKE_BINARY_DIR}/packages)
set(packaging_src ${CMAKE_SOURCE_DIR}/data/packaging)
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)

# AppStream metadata, with the version and links of this build.
set(KESTREL_HOMEPAGE_XML "")
if(KESTREL_HOMEPAGE)
  set(KESTREL_HOMEPAGE_XML "\n  <url type=\"homepage\">${KESTREL_HOMEPAGE}</url>")
endif()
configure_file(${packaging_src}/kestrel.metainfo.xml.in
  ${packaging_out}/${KESTREL_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${packaging_out}/${KESTREL_APPSTREAM_ID}.metainfo.xml COMPONENT kestrel
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Every package carries the copyright file and the (native) changelog,
# compressed as Debian's tools do: no name or time stamp in the header.
add_custom_command(OUTPUT ${packaging_out}/changelog.gz
  COMMAND gzip -9nc ${packaging_src}/changelog > ${packaging_out}/changelog.gz
  DEPENDS ${packaging_src}/changelog
  COMMENT "Compressing the package changelog")
add_custom_target(kestrel-changelog ALL DEPENDS ${packaging_out}/changelog.gz)
set(KESTREL_PACKAGE_COMPONENTS kestrel libtwirl libtwirl-dev twirl-demo)
set(package_name_kestrel kestrel)
set(package_name_libtwirl libtwirl1)
set(package_name_libtwirl-dev libtwirl-dev)
set(package_name_twirl-demo twirl-demo)
foreach(component IN LISTS KESTREL_PACKAGE_COMPONENTS)
  install(FILES ${packaging_src}/copyright ${packaging_out}/changelog.gz COMPONENT ${component}
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package_name_${component}})
endforeach()

# The pictures for software centres, taken by the program itself.
set(screenshot_files "")
foreach(shot IN LISTS KESTREL_SCREENSHOTS)
  list(APPEND screenshot_files ${KESTREL_PACKAGE_DIR}/screenshots/${shot}.png)
endforeach()
add_custom_command(OUTPUT ${screenshot_files}
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/screenshots ${KESTREL_PACKAGE_DIR}/screenshots ${CMAKE_BINARY_DIR}
  DEPENDS kestrel ${CMAKE_SOURCE_DIR}/scripts/screenshots ${CMAKE_SOURCE_DIR}/scripts/install-demo
  COMMENT "Taking the screenshots")
add_custom_target(kestrel-screenshots DEPENDS ${screenshot_files})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrel)
set(CPACK_PACKAGE_VERSION ${KESTREL_VERSION_TEXT})
set(CPACK_PACKAGE_VENDOR "Kestrel developers")
set(CPACK_PACKAGE_CONTACT "${KESTREL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DIRECTORY ${KESTREL_PACKAGE_DIR})
set(CPACK_PACKAGE_FILE_NAME kestrel-${KESTREL_VERSION_TEXT})
set(CPACK_PACKAGE_HOMEPAGE_URL "${KESTREL_HOMEPAGE}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/CompressManPages.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/LdconfigTrigger.cmake)
set(CPACK_COMPONENTS_ALL ${KESTREL_PACKAGE_COMPONENTS})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE kestrel)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KESTREL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The plugin and the demo need libtwirl.so.1 from the library's own staging
# folder: it is in no installed package yet.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  ${KESTREL_PACKAGE_DIR}/_CPack_Packages/Linux/DEB/${CPACK_PACKAGE_FILE_NAME}/libtwirl${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR})

set(CPACK_DEBIAN_KESTREL_PACKAGE_NAME kestrel)
set(CPACK_DEBIAN_KESTREL_PACKAGE_SECTION hamradio)
# Read at run time rather than linked: the time zone database, fonts, the
# Earth's pictures (the maps fall back to plain colours without them), the
# Qt platform plugins beyond the ones libqt6gui6 carries.
set(CPACK_DEBIAN_KESTREL_PACKAGE_DEPENDS "tzdata, fonts-dejavu-core | fonts-liberation2, libqt6serialport6")
# The certificates check the map tile server's https.
set(CPACK_DEBIAN_KESTREL_PACKAGE_RECOMMENDS "xplanet-images, qt6-qpa-plugins, ca-certificates")
# Qt SQL opens SQLite files through a driver plugin loaded by name.
get_target_property(host_links kestrel_host LINK_LIBRARIES)
if("Qt6::Sql" IN_LIST host_links)
  string(APPEND CPACK_DEBIAN_KESTREL_PACKAGE_RECOMMENDS ", libqt6sql6-sqlite")
endif()
set(CPACK_DEBIAN_KESTREL_PACKAGE_SUGGESTS "direwolf, gpsd, hardinfo | gnome-system-monitor | kinfocenter")
set(CPACK_DEBIAN_KESTREL_DESCRIPTION [=[desktop companion for APRS operators
Kestrel attaches to an APRS host program and shows what it hears in
windows inside one main window: a list of every station heard with
distance, path and position; weather reports stored per station and
charted; DX cluster spots sorted by band and country; positions and passes
of satellites; live packet statistics; a terminal of the raw traffic;
captures of the host's map and maintenance of the host's logs.

An embedded host with replay, KISS TCP, APRS-IS and DX cluster feeds comes
with it, and kestrel-install-demo sets up a demonstration on recorded
traffic. kestrel-tool gives headless access to the decoders, file readers
and calculators.]=])

set(twirl_about [=[
twirl is a rotary knob widget for Qt Widgets programs: a round knob with a
pointer, tick marks, an outer fine-adjust ring, snapping, wrap-around and
auto-spin, driven by properties and signals like Qt's own dial.]=])
set(CPACK_DEBIAN_LIBTWIRL_PACKAGE_NAME libtwirl1)
set(CPACK_DEBIAN_LIBTWIRL_PACKAGE_SECTION libs)
# The loader cache is refreshed by dpkg's ldconfig trigger (see
# LdconfigTrigger.cmake).
set(CPACK_DEBIAN_LIBTWIRL_PACKAGE_CONTROL_EXTRA ${packaging_src}/libtwirl1/triggers)
set(CPACK_DEBIAN_LIBTWIRL_DESCRIPTION "rotary knob widget for Qt 6 - library
${twirl_about}

This package holds the shared library.")

set(CPACK_DEBIAN_LIBTWIRL-DEV_PACKAGE_NAME libtwirl-dev)
set(CPACK_DEBIAN_LIBTWIRL-DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_LIBTWIRL-DEV_DEPENDS libtwirl)
# The headers include Qt's, and twirl's CMake package finds Qt's.
set(CPACK_DEBIAN_LIBTWIRL-DEV_PACKAGE_DEPENDS "qt6-base-dev")
set(CPACK_DEBIAN_LIBTWIRL-DEV_DESCRIPTION "rotary knob widget for Qt 6 - development files
${twirl_about}

This package holds the headers, the CMake package (find_package(twirl))
and the Qt Designer plugin that puts the knob in Designer's widget box.")

set(CPACK_DEBIAN_TWIRL-DEMO_PACKAGE_NAME twirl-demo)
set(CPACK_DEBIAN_TWIRL-DEMO_PACKAGE_SECTION x11)
set(CPACK_COMPONENT_TWIRL-DEMO_DEPENDS libtwirl)
set(CPACK_DEBIAN_TWIRL-DEMO_DESCRIPTION "rotary knob widget for Qt 6 - demo
${twirl_about}

This package holds twirl-demo, a window of knobs in their different looks
that shows their properties and signals live.")

# cpack runs the "preinstall" target first, which would otherwise build all
# the tests and benchmarks too; "packages" below builds what is packaged.
# (cmake --install never builds, so nothing else changes.)
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)

# One command for all packages. Only what the packages hold is built.
add_custom_target(packages
  COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
          -P ${CMAKE_SOURCE_DIR}/cmake/MakePackages.cmake
  COMMENT "Making the Debian packages in ${KESTREL_PACKAGE_DIR}"
  VERBATIM)
add_dependencies(packages kestrel kestrel-tool kestrel-icons kestrel-tool-man kestrel-changelog kestrel-guide
  kestrel-screenshots twirl twirl-demo)
if(TARGET twirlplugin)
  add_dependencies(packages twirlplugin)
endif()
