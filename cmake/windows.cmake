# What the Windows build (cross-built with MinGW-w64, cmake/mingw-w64-x86_64.cmake)
# does differently. Included twice by the top-level CMakeLists.txt: before the
# libraries are looked for (ZOA_WINDOWS_STEP libraries) and once the programs
# exist (ZOA_WINDOWS_STEP programs).
if(ZOA_WINDOWS_STEP STREQUAL "libraries")
  enable_language(RC)
  # The compiler's own runtime (libstdc++, libgcc, winpthreads) and zlib go
  # into each program, so the zip needs only SDL's DLLs and FFmpeg's beside it;
  # libraries named by their full path (SDL's and FFmpeg's import libraries)
  # still link to their DLLs.
  set(ZLIB_USE_STATIC_LIBS ON)
  add_link_options(-static)
  # The few files that include windows.h (the atomic replace, the FFmpeg
  # loader, the program's start) want it without the rarely used parts and
  # without its min and max macros, which break std::min and std::max.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)
  # Every program in one folder, where tools/windows.sh puts the DLLs too, so
  # that each runs from the build folder as from the zip.
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  return()
endif()

# The game is a GUI program (no console window opens with it); it attaches to
# the console it was started from to answer --help and report errors
# (platform/windows_console.cpp). The icon is resource 101.
set_target_properties(zoa_noli PROPERTIES WIN32_EXECUTABLE ON)
set(ZOA_WINDOWS_ICON "${CMAKE_BINARY_DIR}/zoa_noli.ico"
    CACHE FILEPATH "The program's icon (tools/windows.sh makes it from the data set's icon)")
if(NOT EXISTS "${ZOA_WINDOWS_ICON}")
  message(FATAL_ERROR "No icon at ${ZOA_WINDOWS_ICON}: build with tools/windows.sh, which makes it")
endif()
# The wide command line is split by shell32 (platform/program_start.cpp).
target_link_libraries(zoa_platform PRIVATE shell32)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/zoa_noli.rc.in ${CMAKE_BINARY_DIR}/zoa_noli.rc @ONLY)
target_sources(zoa_noli PRIVATE ${CMAKE_BINARY_DIR}/zoa_noli.rc)

if(TARGET zoa_tests)
  # The data set comes from the native build (tools/windows.sh): the tests that
  # play the campaign's stages read it from there.
  set(ZOA_WINDOWS_DATA_DIR "" CACHE PATH "A native build folder holding the generated data/")
  if(ZOA_WINDOWS_DATA_DIR)
    target_compile_definitions(zoa_tests PRIVATE ZOA_DATA_BUILD_DIR="${ZOA_WINDOWS_DATA_DIR}")
  endif()
  # The POSIX calls the tests make, under their Windows names.
  target_include_directories(zoa_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/windows)
  target_compile_options(zoa_tests PRIVATE -include ${CMAKE_SOURCE_DIR}/tests/windows/posix_on_windows.h)
endif()
