# Script mode (cmake -P): formats each of PAGES (separated by "|") with MAN
# as lintian does and fails when it writes anything to standard error or
# does not exit with 0.
set(ENV{LC_ALL} C.UTF-8)
set(ENV{MANROFFSEQ} "")
set(ENV{MANWIDTH} 80)
string(REPLACE "|" ";" pages "${PAGES}")
foreach(page IN LISTS pages)
  execute_process(COMMAND ${MAN} --warnings -E UTF-8 -l -Tutf8 -Z ${page}
    OUTPUT_FILE /dev/null
    ERROR_VARIABLE warnings
    RESULT_VARIABLE code)
  if(NOT code EQUAL 0 OR NOT warnings STREQUAL "")
    message(SEND_ERROR "${page}: exit code ${code}\n${warnings}")
  endif()
endforeach()
