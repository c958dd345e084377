# Cross build for 64-bit Windows with mingw-w64. It ships nothing: it runs the
# Windows tests under the 64-bit wine on machines whose kernel cannot start
# 32-bit programs, where the 32-bit build can only be compiled.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
find_program(CMAKE_CROSSCOMPILING_EMULATOR wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH REQUIRED)
