# Installs the build into an empty folder and checks what arrived: exactly
# the program, the desktop entry, the .krb type, the icon in every hicolor size plus the
# scalable one, and the guide with its pictures and the sample class; each PNG
# of the size its folder names, the desktop entry starting the installed
# program by name, and every picture the guide shows installed beside it.
#
#   cmake -DBUILD_DIR=<build> -DWORK_DIR=<scratch> -DSOURCE_DIR=<source> -P check_install.cmake

cmake_minimum_required(VERSION 3.25)

set(root "${WORK_DIR}/root")
file(REMOVE_RECURSE "${root}")
# DESTDIR puts the /usr tree under the scratch folder.
set(ENV{DESTDIR} "${root}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix /usr
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${errors}")
endif()

set(sizes 16 22 24 32 48 64 128 256)
set(expected usr/bin/kirabo usr/share/applications/kirabo.desktop usr/share/icons/hicolor/scalable/apps/kirabo.svg
             usr/share/mime/packages/kirabo.xml)
foreach(size IN LISTS sizes)
  list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/kirabo.png)
endforeach()
set(guide usr/share/doc/kirabo/guide)
file(GLOB_RECURSE guide_files LIST_DIRECTORIES false RELATIVE "${SOURCE_DIR}/docs/guide" "${SOURCE_DIR}/docs/guide/*")
foreach(f IN LISTS guide_files)
  list(APPEND expected ${guide}/${f})
endforeach()
list(SORT expected)

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${root}" "${root}/*")
list(SORT installed)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " got "${installed}")
  string(REPLACE ";" "\n  " want "${expected}")
  message(FATAL_ERROR "installed files:\n  ${got}\nexpected:\n  ${want}")
endif()

# A PNG's width and height are the two big-endian words at byte 16.
foreach(size IN LISTS sizes)
  set(png "${root}/usr/share/icons/hicolor/${size}x${size}/apps/kirabo.png")
  file(READ "${png}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 signature)
  string(SUBSTRING "${header}" 32 8 width)
  string(SUBSTRING "${header}" 40 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
    message(FATAL_ERROR "${png}: not a ${size}x${size} PNG (signature ${signature}, ${width}x${height})")
  endif()
endforeach()

file(READ "${root}/usr/share/icons/hicolor/scalable/apps/kirabo.svg" svg)
if(NOT svg MATCHES "<svg [^>]*viewBox=\"0 0 256 256\"" OR NOT svg MATCHES "</svg>\n$")
  message(FATAL_ERROR "kirabo.svg is not a whole SVG of 256 units")
endif()

file(STRINGS "${root}/usr/share/applications/kirabo.desktop" entry ENCODING UTF-8)
foreach(line "[Desktop Entry]" "Type=Application" "Name=Kirabo" "Exec=kirabo %f" "Icon=kirabo" "Categories=Education;"
             "MimeType=application/x-kirabo-settings;text/csv;")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "kirabo.desktop lacks the line ${line}")
  endif()
endforeach()
file(READ "${root}/usr/share/mime/packages/kirabo.xml" mime)
if(NOT mime MATCHES "<mime-type type=\"application/x-kirabo-settings\">" OR NOT mime MATCHES "<glob pattern=\"\\*\\.krb\"/>")
  message(FATAL_ERROR "kirabo.xml does not give .krb files their type")
endif()
if(NOT entry MATCHES "Comment=[^;]*席替え")
  message(FATAL_ERROR "kirabo.desktop lacks a Japanese comment on what the program does")
endif()

# The guide as installed: the page and the sample as they are in the source,
# and every picture the page shows among the installed files.
foreach(f index.html sample/sample-class.csv sample/sample-class.krb)
  file(SHA256 "${root}/${guide}/${f}" got)
  file(SHA256 "${SOURCE_DIR}/docs/guide/${f}" want)
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "${guide}/${f} is not the guide's own file")
  endif()
endforeach()
file(READ "${root}/${guide}/index.html" page)
string(REGEX MATCHALL "<img src=\"[^\"]+\"" pictures "${page}")
list(LENGTH pictures shown)
if(shown LESS 10)
  message(FATAL_ERROR "the installed guide shows ${shown} pictures")
endif()
foreach(img IN LISTS pictures)
  string(REGEX REPLACE "<img src=\"([^\"]+)\"" "\\1" picture "${img}")
  if(NOT EXISTS "${root}/${guide}/${picture}")
    message(FATAL_ERROR "the installed guide shows ${picture}, which is not installed")
  endif()
endforeach()
if(NOT page MATCHES "<h1><a name=\"top\">Kirabo の使い方</a></h1>")
  message(FATAL_ERROR "the installed guide lacks its heading")
endif()
