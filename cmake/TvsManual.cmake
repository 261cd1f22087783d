# tvs_add_manual(<program> SOURCE <file> HELP_TARGET <target> HELP_HEADER <name>
#                [SHARED <file>])
#
# Makes the --help text and the manual page of <program> from its one source
# (the format is described in tools/manual/ManualSource.h), which may take in
# the sections of a SHARED text. Both are configured first: @VARIABLE@ stands
# for the variable's value, such as an installed path. The help text becomes
# the header HELP_HEADER, which defines HelpText and which the sources of
# <target> include. The page is built by default as
# ${TVS_MANUAL_DIR}/<program>.1.gz (gzip -9n, so that the same source gives
# the same bytes) and installed in ${CMAKE_INSTALL_MANDIR}/man1.
find_program(TVS_GZIP gzip REQUIRED)
set(TVS_MANUAL_DIR "${PROJECT_BINARY_DIR}/manual")
file(MAKE_DIRECTORY "${TVS_MANUAL_DIR}")

function(tvs_add_manual program)
  cmake_parse_arguments(ARG "" "SOURCE;HELP_TARGET;HELP_HEADER;SHARED" "" ${ARGN})
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/${program}-manual")
  set(header "${dir}/${ARG_HELP_HEADER}")
  set(page "${TVS_MANUAL_DIR}/${program}.1")
  set(texts "")
  foreach(text IN ITEMS "${ARG_SOURCE}" ${ARG_SHARED})
    get_filename_component(name "${text}" NAME)
    configure_file("${text}" "${dir}/${name}" @ONLY)
    list(APPEND texts "${dir}/${name}")
  endforeach()
  list(POP_FRONT texts source)
  add_custom_command(OUTPUT "${header}" "${page}" "${page}.gz"
    COMMAND tvs-manual "${source}" "${header}" "${page}" "TVS Updater ${PROJECT_VERSION}" ${texts}
    COMMAND ${TVS_GZIP} -9nkf "${page}"
    DEPENDS tvs-manual "${source}" ${texts}
    COMMENT "Writing the --help text and the manual page of ${program}"
    VERBATIM)
  target_sources(${ARG_HELP_TARGET} PRIVATE "${header}")
  target_include_directories(${ARG_HELP_TARGET} PRIVATE "${dir}")
  add_custom_target(${program}-manual ALL DEPENDS "${page}.gz")
  install(FILES "${page}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endfunction()
