# With TVS_FUZZ on, every target is instrumented for libFuzzer, AddressSanitizer
# and UBSan, and tvs_add_fuzzer() adds a fuzz target. The project must then be
# configured with clang (see the README).
if(TVS_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# tvs_add_fuzzer(NAME SOURCES src... LIBRARIES lib...)
function(tvs_add_fuzzer name)
  if(NOT TVS_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
