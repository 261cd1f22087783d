# Runs HARNESS with ARGS (separated by spaces) and no input, and fails unless
# it exits with EXPECTED_EXIT and its output (standard output, then standard
# error) matches the regular expression EXPECTED_OUTPUT, in which the two
# characters \n stand for a line end.
separate_arguments(arguments UNIX_COMMAND "${ARGS}")
execute_process(COMMAND "${HARNESS}" ${arguments}
  INPUT_FILE /dev/null
  RESULT_VARIABLE exit_code
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
set(all "${output}${errors}")
string(REPLACE "\\n" "\n" expected "${EXPECTED_OUTPUT}")
message("${all}")
if(NOT exit_code STREQUAL "${EXPECTED_EXIT}")
  message(FATAL_ERROR "exit code ${exit_code}, expected ${EXPECTED_EXIT}")
endif()
if(NOT all MATCHES "${expected}")
  message(FATAL_ERROR "the output does not match: ${EXPECTED_OUTPUT}")
endif()
