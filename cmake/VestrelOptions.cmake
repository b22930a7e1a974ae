# Compiler flags shared by every target of the project.
add_compile_options(-Wall -Wextra)
if(VESTREL_WERROR)
  add_compile_options(-Werror)
endif()
if(VESTREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(VESTREL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VESTREL_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang")
  endif()
  # Every library is instrumented for coverage; only the fuzz targets link the fuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# A compiler cache shortens rebuilds in fresh build folders (CI, worktrees) when one is installed.
find_program(VESTREL_CCACHE ccache)
if(VESTREL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_C_COMPILER_LAUNCHER ${VESTREL_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${VESTREL_CCACHE})
endif()

# Shared libraries are linked with --no-undefined, so a missing symbol is found at link time.
# Not where clang sanitizes: its sanitizer runtime is linked into executables only, and its
# symbols are then undefined in every shared library by design.
set(VESTREL_NO_UNDEFINED -Wl,--no-undefined)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND (VESTREL_SANITIZE OR VESTREL_FUZZ))
  set(VESTREL_NO_UNDEFINED "")
endif()
