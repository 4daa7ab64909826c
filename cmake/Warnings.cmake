# Warnings are on everywhere and kept clean.
add_library(tg_warnings INTERFACE)
target_compile_options(tg_warnings INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wno-unused-parameter>)
