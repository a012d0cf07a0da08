# The version from the project's VERSION: a definition for the one source that holds it and a header
# (quelm_version.h) for the resource script. The build's commit goes into another header
# (quelm_commit.h), made again at every build but rewritten only when the commit changed. A checkout
# without .git says "unknown"; scripts/package builds from an exported tree and names the commit with
# -DQR_BUILD_COMMIT=<hash>. Only the files that use them see them, so the other compile commands stay
# the same.
set(QR_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/quelm_version.h.in ${QR_GENERATED_DIR}/quelm_version.h @ONLY)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/core/version.cpp PROPERTIES
  COMPILE_DEFINITIONS "QR_VERSION_TEXT=\"${PROJECT_VERSION}\"")

set(QR_BUILD_COMMIT "" CACHE STRING "The commit the sources come from (empty: ask git)")
add_custom_target(quelm_commit
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DCOMMIT=${QR_BUILD_COMMIT}
          -DOUT=${QR_GENERATED_DIR}/quelm_commit.h -P ${CMAKE_SOURCE_DIR}/cmake/build-commit.cmake
  BYPRODUCTS ${QR_GENERATED_DIR}/quelm_commit.h
  COMMENT "Naming the build's commit")
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/app/version_report.cpp PROPERTIES
  INCLUDE_DIRECTORIES ${QR_GENERATED_DIR})
