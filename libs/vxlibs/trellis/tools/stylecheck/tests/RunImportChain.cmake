# Writes a chain of COUNT stylesheets f0.txt, f1.txt ... in DIRECTORY, each
# with a style and an import of the next, then checks f0.txt as
# RunStyleCheck.cmake does: the import nested too deep is the one error, and
# the chain is not followed further.
file(REMOVE_RECURSE "${DIRECTORY}")
math(EXPR last "${COUNT} - 1")
foreach(index RANGE ${last})
  math(EXPR next "${index} + 1")
  file(WRITE "${DIRECTORY}/f${index}.txt" "F { p: q }\n@import url('f${next}.txt');\n")
endforeach()
set(FILES "${DIRECTORY}/f0.txt")
string(CONCAT EXPECTED_OUTPUT
  "Stylesheet error: ${DIRECTORY}/f32.txt:2 - PARSER ERROR at line 2: import of stylesheet f33.txt refused: "
  "imports nested more than 32 deep|"
  "${DIRECTORY}/f0.txt: 33 styles, 33 rules, 1 errors")
include(${CMAKE_CURRENT_LIST_DIR}/RunStyleCheck.cmake)
file(REMOVE_RECURSE "${DIRECTORY}")
