# The browser build: `emcmake cmake -S . -B build-web -DZOA_WEB_DATA=<native build>`
# (tools/web.sh does it all). Only the game is built; the data builder, the tools
# and the tests run natively, and the page takes the data set a native build
# made, byte for byte the same.
#
# The libraries are the ones tools/deps_web.sh built from Debian's sources into
# ZOA_WEB_PREFIX, linked by full path: naming emscripten's own ports instead
# (-sUSE_SDL=2, -lSDL2) would make emcc try to download them.
set(ZOA_WEB_PREFIX "$ENV{HOME}/.cache/zoa_noli/deps/web"
    CACHE PATH "Where tools/deps_web.sh installed the web target's libraries")
set(ZOA_WEB_DATA "" CACHE PATH "A native build folder holding the data/ the page carries")
if(NOT EXISTS ${ZOA_WEB_DATA}/data/icon.png)
  message(FATAL_ERROR "ZOA_WEB_DATA: no data/ in '${ZOA_WEB_DATA}' (a native build folder)")
endif()
foreach(option ZOA_TESTS ZOA_BENCH ZOA_DATA ZOA_FUZZ)
  set(${option} OFF CACHE BOOL "Not built for the web" FORCE)
endforeach()

# The same target names the native build gets from pkg-config and FindZLIB, so
# the layers link them unchanged.
function(zoa_web_library name)
  add_library(${name} INTERFACE IMPORTED)
  list(TRANSFORM ARGN PREPEND ${ZOA_WEB_PREFIX}/lib/ OUTPUT_VARIABLE paths)
  target_link_libraries(${name} INTERFACE ${paths})
  target_include_directories(${name} INTERFACE ${ZOA_WEB_PREFIX}/include
                                               ${ZOA_WEB_PREFIX}/include/SDL2)
endfunction()
zoa_web_library(PkgConfig::SDL2 libSDL2.a)
zoa_web_library(PkgConfig::SDL2_MIXER libSDL2_mixer.a libSDL2.a)
zoa_web_library(ZLIB::ZLIB libz.a)
zoa_web_library(PkgConfig::FFMPEG libavformat.a libavcodec.a libswscale.a libswresample.a
                libavutil.a)

# Called once the layers exist: the video layer links the FFmpeg it would load
# natively (nothing can be loaded at run time in a page), and the game becomes
# zoa_noli.js + .wasm + .data.
function(zoa_web_game)
  file(WRITE ${CMAKE_BINARY_DIR}/web_library_funcs.rsp
       "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=$autoResumeAudioContext,$dynCall\n")
  target_link_libraries(zoa_video PRIVATE PkgConfig::FFMPEG)
  set_target_properties(zoa_noli PROPERTIES SUFFIX ".js")
  target_link_options(
    zoa_noli PRIVATE
    -sUSE_SDL=0
    # The main loop blocks as it does natively: while it waits, the browser runs.
    -sASYNCIFY
    -sALLOW_MEMORY_GROWTH=1
    -sEXIT_RUNTIME=1
    -sINVOKE_RUN=0
    -sFORCE_FILESYSTEM=1
    -lidbfs.js
    "-sEXPORTED_RUNTIME_METHODS=[\"callMain\",\"FS\",\"IDBFS\",\"ENV\"]"
    # Opening SDL's audio needs these, which 3.1.6 leaves out otherwise (in a
    # response file: CMake cannot pass their $ through to emcc unharmed).
    @${CMAKE_BINARY_DIR}/web_library_funcs.rsp
    "SHELL:--preload-file ${ZOA_WEB_DATA}/data@/data"
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/stages/runs@/runs")
  # The committed runs and the data are packed into zoa_noli.data at link time.
  file(GLOB runs ${CMAKE_SOURCE_DIR}/stages/runs/*)
  set_property(TARGET zoa_noli APPEND PROPERTY LINK_DEPENDS ${runs}
                                                   ${ZOA_WEB_DATA}/data/icon.png
                                                   ${CMAKE_SOURCE_DIR}/tools/web/index.html)
  # The site: our page, the program, its data and the icon, ready to be served.
  set(site ${CMAKE_BINARY_DIR}/site)
  set(program $<TARGET_FILE_DIR:zoa_noli>/zoa_noli)
  add_custom_target(
    zoa_site ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${site}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/tools/web/index.html
            ${ZOA_WEB_DATA}/data/icon.png ${program}.js ${program}.wasm ${program}.data ${site}
    DEPENDS zoa_noli
    VERBATIM)
endfunction()
