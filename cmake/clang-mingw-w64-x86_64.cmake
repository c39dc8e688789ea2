# Cross build for 64-bit Windows with clang (Debian's clang and lld), using the
# headers and libraries of the installed mingw-w64 POSIX-thread GCC toolchain,
# libstdc++ included. A second compiler beside cmake/mingw-w64-x86_64.cmake:
#   cmake -S . -B build-clang -DCMAKE_TOOLCHAIN_FILE=cmake/clang-mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET   ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)

# clang does not look for libstdc++ in GCC's own folder: name it, the newest
# POSIX-thread GCC that is installed (or -DHOURWISE_MINGW_GCC_DIR=...).
if(NOT HOURWISE_MINGW_GCC_DIR)
  file(GLOB gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${TOOLCHAIN_PREFIX}/*-posix)
  list(SORT gcc_dirs COMPARE NATURAL ORDER DESCENDING)
  list(GET gcc_dirs 0 HOURWISE_MINGW_GCC_DIR)
endif()
set(HOURWISE_MINGW_GCC_DIR ${HOURWISE_MINGW_GCC_DIR} CACHE PATH "GCC of the mingw-w64 toolchain whose libstdc++ clang uses")
set(CMAKE_CXX_FLAGS_INIT "-isystem ${HOURWISE_MINGW_GCC_DIR}/include/c++ -isystem ${HOURWISE_MINGW_GCC_DIR}/include/c++/${TOOLCHAIN_PREFIX} -isystem ${HOURWISE_MINGW_GCC_DIR}/include/c++/backward")
# libstdc++ and libgcc of that GCC; its threads are winpthreads. lld, because
# GNU ld warns about every type name that clang and GCC lay out differently.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -pthread -L${HOURWISE_MINGW_GCC_DIR}")

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests and tools of the build run under Wine, in the build's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
