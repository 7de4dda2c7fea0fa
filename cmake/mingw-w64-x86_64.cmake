# Cross-building for 64-bit Windows with Debian's MinGW-w64 (GCC with the posix
# thread model, so std::thread and std::mutex work). The libraries Debian has no
# MinGW build of come from tools/deps.sh, installed under ZOA_DEPS_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZOA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZOA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZOA_MINGW}-windres)

# The prefix is passed on to the compiler checks CMake runs in scratch projects.
set(ZOA_DEPS_PREFIX "$ENV{ZOA_DEPS_PREFIX}" CACHE PATH "Where tools/deps.sh installed the Windows libraries")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZOA_DEPS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${ZOA_MINGW} ${ZOA_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the .pc files of the cross-built libraries, never the
# machine's own.
if(ZOA_DEPS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} "${ZOA_DEPS_PREFIX}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
endif()
