# What a build tree holds besides the libraries, the programs and their tests.

# The benchmarks are measured in the optimised tree (docs/benchmarks.md); the
# sanitizer trees leave them out.
function(tvs_add_benchmarks dir)
  if(NOT TVS_SANITIZE)
    add_subdirectory(${dir})
  endif()
endfunction()

# Tests of code that runs on one thread (the widget toolkit, the wizard's
# pages, the tools, the resources): the ThreadSanitizer tree, which is there
# for the update worker, the device layer, the message loop and the programs,
# leaves them out.
function(tvs_add_single_threaded_tests dir)
  if(NOT TVS_SANITIZE MATCHES "thread")
    add_subdirectory(${dir})
  endif()
endfunction()
