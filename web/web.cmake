# The browser build, with Debian's emscripten: the page (index.html with its .js, .wasm and
# .data), the same page as one self-contained file (corvane.html), and the snapshot tool for
# node. cairo and the libraries under it come from scripts/web-deps.sh, built from Debian's
# sources: CORVANE_WEB_PREFIX names where.
set(CORVANE_WEB_PREFIX "" CACHE PATH "Where scripts/web-deps.sh installed the web libraries")
set(CORVANE_WEB_OUT "${CMAKE_BINARY_DIR}/web" CACHE PATH "Where the page is written")
if(NOT EXISTS "${CORVANE_WEB_PREFIX}/lib/libcairo.a")
  message(FATAL_ERROR "no web libraries in '${CORVANE_WEB_PREFIX}': run scripts/web-deps.sh")
endif()

# End throws; the program's exceptions cross the waits that yield to the browser.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)

set(P ${CORVANE_WEB_PREFIX})
add_library(corvane_raster STATIC ${CORVANE_RASTER_SOURCES})
target_include_directories(corvane_raster PRIVATE ${P}/include/cairo ${P}/include/freetype2
                                                  ${P}/include)
target_link_libraries(corvane_raster PUBLIC corvane_logic ${P}/lib/libcairo.a
                      ${P}/lib/libpixman-1.a ${P}/lib/libpng16.a ${P}/lib/libfreetype.a
                      ${P}/lib/libz.a)
target_compile_definitions(corvane_raster PRIVATE CORVANE_FONT_FILE="${CORVANE_FONT_FILE}")

# The page: the waits hand control to the browser and come back (asyncify), including those
# reached through the host's virtual calls, so nothing may be left out of the instrumentation.
add_library(corvane_web_host OBJECT src/display/web_host.cpp src/app/web_main.cpp)
target_link_libraries(corvane_web_host PUBLIC corvane_raster)
set(CORVANE_PAGE_FLAGS
    -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536 -sENVIRONMENT=web -sMINIFY_HTML=0
    --shell-file ${CMAKE_SOURCE_DIR}/web/shell.html)

add_executable(corvane_page $<TARGET_OBJECTS:corvane_web_host>)
target_link_libraries(corvane_page PRIVATE corvane_raster)
target_link_options(corvane_page PRIVATE ${CORVANE_PAGE_FLAGS}
                    --preload-file ${CORVANE_FONT_FILE}@${CORVANE_FONT_FILE})
set_target_properties(corvane_page PROPERTIES OUTPUT_NAME index SUFFIX .html
                      RUNTIME_OUTPUT_DIRECTORY ${CORVANE_WEB_OUT})

add_executable(corvane_single $<TARGET_OBJECTS:corvane_web_host>)
target_link_libraries(corvane_single PRIVATE corvane_raster)
target_link_options(corvane_single PRIVATE ${CORVANE_PAGE_FLAGS} -sSINGLE_FILE=1
                    --embed-file ${CORVANE_FONT_FILE}@${CORVANE_FONT_FILE})
set_target_properties(corvane_single PROPERTIES OUTPUT_NAME corvane SUFFIX .html
                      RUNTIME_OUTPUT_DIRECTORY ${CORVANE_WEB_OUT})

# A change of the page's frame or the font links the page again.
set_target_properties(corvane_page corvane_single PROPERTIES
                      LINK_DEPENDS "${CMAKE_SOURCE_DIR}/web/shell.html;${CORVANE_FONT_FILE}")

# The snapshot tool under node: the files it reads and writes are the real ones, the font
# among them.
add_executable(snapshot tools/snapshot.cpp)
target_link_libraries(snapshot PRIVATE corvane_raster)
target_link_options(snapshot PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1)
set_target_properties(snapshot PROPERTIES SUFFIX .js)

# The engine-step benchmark under node, beside the native one (make bench).
if(CORVANE_BENCH AND EXISTS "${P}/lib/libbenchmark.a")
  add_executable(corvane_bench bench/engine_bench.cpp)
  target_include_directories(corvane_bench PRIVATE tests ${P}/include)
  target_link_libraries(corvane_bench PRIVATE corvane_raster ${P}/lib/libbenchmark_main.a
                        ${P}/lib/libbenchmark.a)
  target_link_options(corvane_bench PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1)
  set_target_properties(corvane_bench PROPERTIES SUFFIX .js)
endif()
