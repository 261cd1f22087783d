# Writes the AppStream metainfo from its template. Used by the build and by
# the installed-files test (in script mode), so that both write it alike.

# tvs_png_size(FILE WIDTH_VAR HEIGHT_VAR): the size from the PNG's IHDR chunk.
function(tvs_png_size file width_var height_var)
  file(READ "${file}" header HEX LIMIT 24)
  if(NOT header MATCHES "^89504e470d0a1a0a0000000d49484452(........)(........)$")
    message(FATAL_ERROR "${file}: not a PNG file")
  endif()
  math(EXPR width "0x${CMAKE_MATCH_1}")
  math(EXPR height "0x${CMAKE_MATCH_2}")
  set(${width_var} ${width} PARENT_SCOPE)
  set(${height_var} ${height} PARENT_SCOPE)
endfunction()

# tvs_write_metainfo(TEMPLATE OUTPUT SCREENSHOT BASE_URL): AppStream accepts
# only web addresses for screenshot images, so the screenshot (installed to
# share/tvs-updater/screenshots for whoever distributes the package to
# publish) is listed only when BASE_URL says where it is published.
function(tvs_write_metainfo template output screenshot base_url)
  set(TVS_METAINFO_SCREENSHOTS "")
  if(base_url)
    if(NOT base_url MATCHES "^https?://")
      message(FATAL_ERROR "TVS_SCREENSHOT_BASE_URL must be an http or https address, not '${base_url}'")
    endif()
    string(REGEX REPLACE "/+$" "" base_url "${base_url}")
    string(REPLACE "&" "&amp;" base_url "${base_url}")
    string(REPLACE "<" "&lt;" base_url "${base_url}")
    tvs_png_size("${screenshot}" width height)
    cmake_path(GET screenshot FILENAME name)
    string(CONCAT TVS_METAINFO_SCREENSHOTS
      "  <screenshots>\n"
      "    <screenshot type=\"default\">\n"
      "      <caption>A newer firmware offered for the connected controller</caption>\n"
      "      <image type=\"source\" width=\"${width}\" height=\"${height}\">${base_url}/${name}</image>\n"
      "    </screenshot>\n"
      "  </screenshots>")
  endif()
  configure_file("${template}" "${output}" @ONLY)
endfunction()
