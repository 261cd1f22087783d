# Script mode (cmake -P): runs PROGRAM with ARGS (separated by spaces) and no
# input, and fails unless it exits with EXPECTED_EXIT and its output
# (standard output, then standard error) matches the regular expression
# EXPECTED_OUTPUT, in which the two characters \n stand for a line end. With
# NO_CARRIAGE_RETURN set, the output must also hold no carriage return. With
# UNCHANGED set to a file, the run must leave that file as it found it.
separate_arguments(arguments UNIX_COMMAND "${ARGS}")
if(UNCHANGED)
  file(READ "${UNCHANGED}" before HEX)
endif()
execute_process(COMMAND "${PROGRAM}" ${arguments}
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
string(FIND "${all}" "\r" carriage_return)
if(NO_CARRIAGE_RETURN AND NOT carriage_return EQUAL -1)
  message(FATAL_ERROR "the output holds a carriage return")
endif()
if(UNCHANGED)
  file(READ "${UNCHANGED}" after HEX)
  if(NOT after STREQUAL before)
    message(FATAL_ERROR "the run changed ${UNCHANGED}")
  endif()
endif()
