# Runs `quenlit check [--textual] --format FORMAT tests/fixtures/check` from the source
# folder and compares its output, byte for byte, with tests/fixtures/check-FORMAT.expected
# (check-textual-FORMAT.expected with -D TEXTUAL=ON).
# The same expected files serve the native build and quenlit.exe under Wine.
# The expected files write the program's version as @QUENLIT_VERSION@.
# -D QUENLIT=program -D ROOT=source folder -D FORMAT=gcc|json|sarif|text -D VERSION=x.y.z
# [-D RUNNER=wine wrapper]
set(name check)
set(extra)
if(TEXTUAL)
  set(name check-textual)
  set(extra --textual)
endif()
execute_process(COMMAND ${RUNNER} "${QUENLIT}" check ${extra} --format ${FORMAT} tests/fixtures/check
                WORKING_DIRECTORY "${ROOT}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
file(READ "${ROOT}/tests/fixtures/${name}-${FORMAT}.expected" expected)
string(REPLACE "@QUENLIT_VERSION@" "${VERSION}" expected "${expected}")
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "exit code ${rc}, expected 1 (findings); stderr:\n${err}")
endif()
if(NOT out STREQUAL expected)
  file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/${name}-${FORMAT}.actual" "${out}")
  message(FATAL_ERROR "output differs from tests/fixtures/${name}-${FORMAT}.expected; "
                      "got ${CMAKE_CURRENT_BINARY_DIR}/${name}-${FORMAT}.actual")
endif()
