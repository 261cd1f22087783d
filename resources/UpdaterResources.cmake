# tvs_embed_updater_resources(<target>)
#
# Compiles the updater's resources into <target>: every picture under
# resources/pictures (with its @2x variant) as "PICTURE", the stylesheets as
# "STYLESHEET", the UI font corvel.ttf as "TTFd" by name, the default font as
# "TTFd" id 1 and the application icon as "ICON" id 1. The README and the
# licence texts beside the fonts are not resources, and the default font is
# embedded only by its id.
set(TVS_UPDATER_RESOURCES_DIR "${CMAKE_CURRENT_LIST_DIR}")

function(tvs_embed_updater_resources target)
  tvs_embed_resources(TARGET ${target}
    ROOT "${TVS_UPDATER_RESOURCES_DIR}"
    EXCLUDE "^fonts/README$" "^fonts/LICENSE-[^/]*\\.txt$" "^fonts/DejaVuSans\\.ttf$"
    NUMBERED TTFd 1 fonts/DejaVuSans.ttf ICON 1 icons/app.ico)
endfunction()
