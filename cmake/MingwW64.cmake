# Cross build of the Windows x64 plug-in on Linux with Debian's mingw-w64 compilers
# (g++-mingw-w64-x86-64-posix: the posix thread model, so std::thread, std::mutex and
# thread-safe statics work through winpthread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TG_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TG_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TG_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TG_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${TG_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "archiver")
set(CMAKE_RANLIB ${TG_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "ranlib")

# Headers and libraries come from the mingw sysroot only; programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TG_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything we link is linked statically: the C and C++ runtimes, winpthread, zlib and
# libpng, so a module or program imports nothing but Windows system DLLs. Symbols of
# those archives never leave a module (only the entry points marked for export do).
set(_tg_static "-static -static-libgcc -static-libstdc++ -Wl,--exclude-libs,ALL")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_tg_static}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_tg_static}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_tg_static}")
set(ZLIB_USE_STATIC_LIBS ON)

# The module chooses AVX2 code at run time for a few loops. GCC cannot align the stack of
# a Windows x64 function to the 32 bytes an AVX register spill would want, so the
# assembler encodes every aligned vector move as an unaligned one (as fast on aligned
# data); nothing then faults on a 16-byte aligned stack.
set(CMAKE_C_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
