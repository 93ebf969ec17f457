# The one version of the programs and the package, from project(... VERSION ...).
configure_file(${CMAKE_CURRENT_LIST_DIR}/lexorant_version.h.in ${CMAKE_BINARY_DIR}/generated/lexorant_version.h
               @ONLY)
add_library(lexorant_version INTERFACE)
target_include_directories(lexorant_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
