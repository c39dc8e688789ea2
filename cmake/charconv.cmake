# Numbers are read and written with <charconv>'s floating-point std::from_chars
# and std::to_chars: GCC 12 or newer, MSVC 19.24 (Visual Studio 2019 16.4) or
# newer, or clang with such a standard library. Stops the configure early with
# a clear message on an older one.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 12)
  message(FATAL_ERROR "GCC ${CMAKE_CXX_COMPILER_VERSION} is too old: Hourwise needs GCC 12 or newer "
    "for std::to_chars and std::from_chars of double in <charconv>.")
endif()
if(MSVC AND MSVC_VERSION LESS 1924)
  message(FATAL_ERROR "MSVC ${CMAKE_CXX_COMPILER_VERSION} is too old: Hourwise needs MSVC 19.24 (Visual Studio 2019 16.4) "
    "or newer for std::to_chars and std::from_chars of double in <charconv>.")
endif()
if(NOT DEFINED HOURWISE_CHARCONV_DOUBLE)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_QUIET ON)
  set(CMAKE_REQUIRED_FLAGS "${CMAKE_CXX17_STANDARD_COMPILE_OPTION}")
  set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
  check_cxx_source_compiles("
#include <charconv>
int f(char *b, char *e, double *v) {
  std::to_chars(b, e, *v, std::chars_format::scientific, 16);
  return (int)std::from_chars(b, e, *v, std::chars_format::general).ec;
}" HOURWISE_CHARCONV_DOUBLE)
  unset(CMAKE_TRY_COMPILE_TARGET_TYPE)
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_QUIET)
endif()
if(NOT HOURWISE_CHARCONV_DOUBLE)
  message(FATAL_ERROR "${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION} with its standard library has no "
    "std::to_chars/std::from_chars for double in <charconv>: use GCC 12 or newer, MSVC 19.24 or newer, "
    "or clang with GCC 12's libstdc++ or newer.")
endif()
