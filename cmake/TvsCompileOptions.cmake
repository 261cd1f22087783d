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

# The hardening distributions build their packages with: checked buffer
# functions where the optimiser sees the sizes, a stack protector, and
# relocations made read-only at start. Not with the sanitizers or the fuzz
# targets, whose own checks take the place of these.
if(NOT TVS_SANITIZE AND NOT TVS_FUZZ AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  add_compile_options(-D_FORTIFY_SOURCE=2 -fstack-protector-strong)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
