# Puts the converter page together: the view's page (page.html) with the converter's side
# panel, style and script, the zip library, and the worker (the WebAssembly engine and the
# script that drives it) as text the page starts a worker from. Run as a script:
#   cmake -DWEB_DIR=<tools/web> -DENGINE=<velkano_engine.js> -DWORKER=<worker.js>
#         -DVERSION=<x.y.z> -DOUTPUT=<velkano.html> -P ConverterPage.cmake

include(${CMAKE_CURRENT_LIST_DIR}/WebPage.cmake)

file(READ "${WEB_DIR}/page.html" page)
file(READ "${WEB_DIR}/converter_side.html" side)
string(REGEX REPLACE "\n$" "" side "${side}")
# The worker runs the WebAssembly module and is started from a blob of the page's own text.
string(REPLACE "@SCRIPT_HASHES@;" "@SCRIPT_HASHES@ 'wasm-unsafe-eval'; worker-src blob:;" page "${page}")
velkano_set_places(page
    GENERATOR "velkano @VERSION@"
    TITLE "velkano: convert flight and task files"
    BODY_CLASS "vk-converter"
    SIDE "${side}"
    PAGE_DATA "<script type=\"text/plain\" id=\"velkano-worker\">@WORKER_SOURCE@</script>"
    VERSION "${VERSION}")
velkano_fill_view_page(page "${WEB_DIR}"
    "run npm ci in ${WEB_DIR}, and build with Emscripten for ${ENGINE}"
    "${WEB_DIR}/page.css|${WEB_DIR}/converter.css"
    "${WEB_DIR}/node_modules/fflate/umd/index.js|${WEB_DIR}/view.js|${WEB_DIR}/converter.js"
    # The engine defines what the worker script calls.
    WORKER_SOURCE "${ENGINE}|${WORKER}")
file(WRITE "${OUTPUT}" "${page}")
