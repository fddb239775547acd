# The release's version and copyright, taken from the project() call, for every
# place that shows them: a header for the code (QuenlitVersion.h, through the
# quenlit_version target) and the VERSIONINFO resource of each Windows program.
set(QUENLIT_COPYRIGHT "Copyright (C) 2025 QuenlitX developers")

# rc reads a numeric field with a leading zero as octal ("08" fails), so the
# numbers go in without them: 2025.07.05 -> 2025,7,5,0.
set(QUENLIT_VERSION_NUMBERS "")
foreach(part MAJOR MINOR PATCH TWEAK)
  set(n "${PROJECT_VERSION_${part}}")
  if(n STREQUAL "")
    set(n 0)
  endif()
  math(EXPR n "${n}")  # decimal, leading zeros dropped
  list(APPEND QUENLIT_VERSION_NUMBERS "${n}")
endforeach()
list(JOIN QUENLIT_VERSION_NUMBERS "," QUENLIT_VERSION_NUMBERS)

set(QUENLIT_GENERATED_DIR "${CMAKE_BINARY_DIR}/generated")
configure_file("${CMAKE_CURRENT_LIST_DIR}/QuenlitVersion.h.in" "${QUENLIT_GENERATED_DIR}/QuenlitVersion.h" @ONLY)
set(QUENLIT_VERSION_INFO_TEMPLATE "${CMAKE_CURRENT_LIST_DIR}/VersionInfo.rc.in")
add_library(quenlit_version INTERFACE)
target_include_directories(quenlit_version INTERFACE "${QUENLIT_GENERATED_DIR}")

# quenlit_version_info(TARGET DESCRIPTION): a VERSIONINFO resource for a Windows
# program, named after the target's output file.
function(quenlit_version_info target description)
  set(QUENLIT_FILE_DESCRIPTION "${description}")
  set(QUENLIT_ORIGINAL_FILENAME "${target}.exe")
  set(rc "${QUENLIT_GENERATED_DIR}/${target}_version.rc")
  configure_file("${QUENLIT_VERSION_INFO_TEMPLATE}" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
endfunction()
