# Puts the converter page together: one HTML file holding the web libraries, the view and
# converter scripts and styles, and the worker (the WebAssembly engine and the script that
# drives it) as text the page starts a worker from. Run as a script:
#   cmake -DWEB_DIR=<tools/web> -DENGINE=<velkano_engine.js> -DWORKER=<worker.js>
#         -DVERSION=<x.y.z> -DOUTPUT=<velkano.html> -P ConverterPage.cmake

include(${CMAKE_CURRENT_LIST_DIR}/WebPage.cmake)

set(modules "${WEB_DIR}/node_modules")
file(READ "${WEB_DIR}/converter.html" page)
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
velkano_fill_page(page "run npm ci in ${WEB_DIR}, and build with Emscripten for ${ENGINE}"
    LEAFLET_CSS "${modules}/leaflet/dist/leaflet.css"
    UPLOT_CSS "${modules}/uplot/dist/uPlot.min.css"
    VIEW_CSS "${WEB_DIR}/page.css"
    CONVERTER_CSS "${WEB_DIR}/converter.css"
    # The engine defines what the worker script calls.
    WORKER_SOURCE "${ENGINE}|${WORKER}"
    LEAFLET_JS "${modules}/leaflet/dist/leaflet.js"
    UPLOT_JS "${modules}/uplot/dist/uPlot.iife.min.js"
    GEODESIC_JS "${modules}/geographiclib-geodesic/geographiclib-geodesic.min.js"
    FFLATE_JS "${modules}/fflate/umd/index.js"
    CONVERTER_JS "${WEB_DIR}/view.js|${WEB_DIR}/converter.js")
file(WRITE "${OUTPUT}" "${page}")
