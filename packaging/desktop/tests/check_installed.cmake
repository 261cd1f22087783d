# Installs only the "desktop" component into a fresh DESTDIR and checks what
# desktops and software centres read there: the desktop entry and the
# metainfo pass their validators, the metainfo names the installed desktop
# entry and the project's version, and the icon the entry names is in the
# hicolor theme at every size, each PNG as large as its folder says, beside a
# self-contained SVG. The metainfo is also written with a screenshot address,
# as a distributor sets TVS_SCREENSHOT_BASE_URL, and validated.
#
# cmake -DBUILD_DIR= -DWORK_DIR= -DDATADIR= -DAPP_ID= -DVERSION= -DTEMPLATE=
#       -DSCREENSHOT= -DDESKTOP_FILE_VALIDATE= -DAPPSTREAMCLI=
#       -P check_installed.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../Metainfo.cmake)

set(problems "")
macro(problem text)
  string(APPEND problems "  ${text}\n")
endmacro()

# run(OUTPUT_VAR COMMAND...): runs the command; OUTPUT_VAR gets its standard
# output and error, OUTPUT_VAR_RC its exit status.
function(run output_var)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  set(${output_var} "${out}" PARENT_SCOPE)
  set(${output_var}_RC "${rc}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(destdir ${WORK_DIR}/destdir)
run(install ${CMAKE_COMMAND} -E env DESTDIR=${destdir}
  ${CMAKE_COMMAND} --install ${BUILD_DIR} --component desktop)
if(NOT install_RC EQUAL 0)
  message(FATAL_ERROR "installing the desktop component failed:\n${install}")
endif()
set(share ${destdir}${DATADIR})
set(desktop_file ${share}/applications/${APP_ID}.desktop)
set(metainfo ${share}/metainfo/${APP_ID}.metainfo.xml)

# Exactly these files, so that a file left out of the component or one
# installed to the wrong folder shows.
file(STRINGS ${desktop_file} icon REGEX "^Icon=")
string(REPLACE "Icon=" "" icon "${icon}")
# The sizes desktops ask the theme for, from 16 pixel menus to 256 pixel
# software centre pages; 48 is the theme's required fallback.
set(sizes 16 24 32 48 64 128 256)
cmake_path(GET SCREENSHOT FILENAME screenshot)
set(expected applications/${APP_ID}.desktop metainfo/${APP_ID}.metainfo.xml
  icons/hicolor/scalable/apps/${icon}.svg tvs-updater/screenshots/${screenshot})
foreach(size IN LISTS sizes)
  list(APPEND expected icons/hicolor/${size}x${size}/apps/${icon}.png)
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${share} ${destdir}/*)
foreach(file IN LISTS expected)
  if(NOT file IN_LIST installed)
    problem("not installed: ${DATADIR}/${file}")
  endif()
endforeach()
foreach(file IN LISTS installed)
  if(NOT file IN_LIST expected)
    problem("installed but not expected: ${DATADIR}/${file}")
  endif()
endforeach()

run(validation ${DESKTOP_FILE_VALIDATE} ${desktop_file})
if(NOT validation_RC EQUAL 0 OR NOT validation STREQUAL "")
  problem("desktop-file-validate (exit status ${validation_RC}):\n${validation}")
endif()

run(validation ${APPSTREAMCLI} validate --no-net --no-color ${metainfo})
message(STATUS "appstreamcli validate --no-net:\n${validation}")
if(NOT validation_RC EQUAL 0)
  problem("appstreamcli validate failed")
endif()
# The tree as a software centre indexes it: the metainfo's launchable must
# be installed beside it.
cmake_path(GET share PARENT_PATH prefix)
run(validation ${APPSTREAMCLI} validate-tree --no-net --no-color ${prefix})
if(NOT validation_RC EQUAL 0)
  problem("appstreamcli validate-tree failed:\n${validation}")
endif()

file(READ ${metainfo} text)
if(NOT text MATCHES "<id>${APP_ID}</id>")
  problem("the metainfo's id is not ${APP_ID}")
endif()
if(NOT text MATCHES "<release version=\"${VERSION}\"")
  problem("the metainfo has no release ${VERSION}, the project's version")
endif()

foreach(size IN LISTS sizes)
  set(png ${share}/icons/hicolor/${size}x${size}/apps/${icon}.png)
  if(EXISTS ${png})
    tvs_png_size(${png} width height)
    if(NOT width EQUAL size OR NOT height EQUAL size)
      problem("${size}x${size}/apps/${icon}.png is ${width} x ${height}")
    endif()
  endif()
endforeach()
set(svg ${share}/icons/hicolor/scalable/apps/${icon}.svg)
if(EXISTS ${svg})
  file(READ ${svg} text)
  if(text MATCHES "(href=\"[^#\"][^\"]*|url\\([^#)][^)]*|xml-stylesheet)")
    problem("scalable/apps/${icon}.svg refers to another file: ${CMAKE_MATCH_1}")
  endif()
endif()

# The screenshot as a distributor lists it: the address is the base address
# followed by the installed file's name, at the picture's size.
set(with_screenshot ${WORK_DIR}/with-screenshot.metainfo.xml)
tvs_write_metainfo(${TEMPLATE} ${with_screenshot} ${SCREENSHOT} "https://tvs-updater.example/shots/")
file(READ ${with_screenshot} text)
tvs_png_size(${SCREENSHOT} width height)
if(NOT text MATCHES "<image type=\"source\" width=\"${width}\" height=\"${height}\">https://tvs-updater.example/shots/${screenshot}</image>")
  problem("the screenshot is not listed as https://tvs-updater.example/shots/${screenshot} at ${width} x ${height}")
endif()
run(validation ${APPSTREAMCLI} validate --no-net --no-color ${with_screenshot})
if(NOT validation_RC EQUAL 0)
  problem("appstreamcli validate with a screenshot address failed:\n${validation}")
endif()

if(problems)
  message(FATAL_ERROR "the installed desktop files:\n${problems}")
endif()
