# Warnings and sanitizers shared by every target of the project.

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
# Source paths in assertion messages are relative to the project.
add_compile_options(-fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=)
if(TVS_WERROR)
  add_compile_options(-Werror)
endif()

if(TVS_SANITIZE)
  add_compile_options(-fsanitize=${TVS_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${TVS_SANITIZE})
endif()
