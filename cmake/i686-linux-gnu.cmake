# Cross-build for 32-bit x86 Linux with Debian's cross compiler at its defaults (the
# project's CMake adds the SSE2 arithmetic itself). The programs run natively through
# the i686 loader where the kernel runs 32-bit x86 programs, and under qemu-i386 where
# it does not.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/i686-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
execute_process(COMMAND /usr/i686-linux-gnu/lib/ld-linux.so.2 --version
                RESULT_VARIABLE i686_loader_result OUTPUT_QUIET ERROR_QUIET)
if(i686_loader_result STREQUAL "0")
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/i686-linux-gnu/lib/ld-linux.so.2 --library-path
                                    /usr/i686-linux-gnu/lib)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386 -L /usr/i686-linux-gnu)
endif()
