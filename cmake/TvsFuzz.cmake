# With TVS_FUZZ on, every target is instrumented for libFuzzer, AddressSanitizer
# and UBSan (a UBSan finding ends the run like a crash), and tvs_add_fuzzer()
# adds a fuzz target. The project must then be configured with clang (see
# docs/building-and-testing.md).
if(TVS_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
  # Builds every fuzz target; scripts/fuzz runs them from fuzz-targets.txt.
  add_custom_target(fuzzers)
endif()

# tvs_add_fuzzer(NAME SOURCES src... LIBRARIES lib... SEEDS dir [DICTIONARY file])
# SEEDS and DICTIONARY are relative to the calling directory.
function(tvs_add_fuzzer name)
  if(NOT TVS_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "SEEDS;DICTIONARY" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers ${name})
  set(line "$<TARGET_FILE:${name}> ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SEEDS}")
  if(ARG_DICTIONARY)
    string(APPEND line " ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_DICTIONARY}")
  endif()
  set_property(GLOBAL APPEND PROPERTY TVS_FUZZ_TARGETS "${line}")
endfunction()

# Writes build-fuzz/fuzz-targets.txt: one line per target, "program seeds
# [dictionary]". Called once, after every directory has been added.
function(tvs_write_fuzz_targets)
  if(NOT TVS_FUZZ)
    return()
  endif()
  get_property(lines GLOBAL PROPERTY TVS_FUZZ_TARGETS)
  list(JOIN lines "\n" content)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzz-targets.txt CONTENT "${content}\n")
endfunction()
