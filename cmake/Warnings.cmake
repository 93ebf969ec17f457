# Every target of the project compiles with the same strict warnings.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
option(LEXORANT_WERROR "Treat warnings as errors" ON)
if(LEXORANT_WERROR)
  add_compile_options(-Werror)
endif()
# GCC 12 at -O2 reports std::string and std::vector operations as overlapping or overflowing
# copies where none can happen (GCC bugs 105329, 106199).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict -Wno-stringop-overflow)
endif()
