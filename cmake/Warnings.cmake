# Every target of the project compiles with the same strict warnings.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
option(LEXORANT_WERROR "Treat warnings as errors" ON)
if(LEXORANT_WERROR)
  add_compile_options(-Werror)
endif()
# GCC 12 reports std::string operations at -O2 as overlapping copies (GCC bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()
