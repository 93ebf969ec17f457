# Every target of the project compiles with the same strict warnings.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
option(LEXORANT_WERROR "Treat warnings as errors" ON)
if(LEXORANT_WERROR)
  add_compile_options(-Werror)
endif()
