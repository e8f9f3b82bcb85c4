# The WebAssembly build of drv/ and the page's module (velkano_engine.js), made beside a
# native build when Emscripten is installed: a build of this tree of its own
# (build/PRESET/wasm) with Emscripten's toolchain, the same sources as the `wasm` preset
# builds. Without em++ everything else builds as before. Of the test presets only the release
# build makes it, the one the packages (and so the converter page they carry) come from:
# once is enough.
# Emscripten's tools run its JavaScript optimizer with the node on the PATH, which finds
# Debian's acorn only through NODE_PATH; its system libraries stay in their frozen cache.
set(VELKANO_EMSCRIPTEN_TOOLCHAIN /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
    CACHE FILEPATH "Emscripten's CMake toolchain file")
find_program(VELKANO_EMXX em++)
find_program(VELKANO_NODE node)
set(_velkano_wasm_default OFF)
if(VELKANO_EMXX AND VELKANO_NODE AND EXISTS ${VELKANO_EMSCRIPTEN_TOOLCHAIN}
   AND NOT CMAKE_CROSSCOMPILING AND NOT EMSCRIPTEN)
    set(_velkano_wasm_default ON)
endif()
option(VELKANO_BUILD_WASM "Build drv/ for WebAssembly too (needs Emscripten)"
       ${_velkano_wasm_default})

if(VELKANO_BUILD_WASM)
    include(ExternalProject)
    set(VELKANO_WASM_DIR ${PROJECT_BINARY_DIR}/wasm)
    set(_velkano_emscripten_env ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
    ExternalProject_Add(velkano_wasm
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${VELKANO_WASM_DIR}
        CONFIGURE_COMMAND ${_velkano_emscripten_env} ${CMAKE_COMMAND}
            -S ${PROJECT_SOURCE_DIR} -B ${VELKANO_WASM_DIR} -G ${CMAKE_GENERATOR}
            -DCMAKE_TOOLCHAIN_FILE=${VELKANO_EMSCRIPTEN_TOOLCHAIN}
            -DCMAKE_BUILD_TYPE=Release
            -DCMAKE_COMPILE_WARNING_AS_ERROR=${CMAKE_COMPILE_WARNING_AS_ERROR}
            -DVELKANO_NUMBER_TEXT_HEADERS=${VELKANO_NUMBER_TEXT_HEADERS}
            -DCMAKE_PROJECT_TOP_LEVEL_INCLUDES=${PROJECT_SOURCE_DIR}/cmake/toolchains/cross-deps.cmake
            -DVELKANO_BUILD_TOOLS=ON
        BUILD_COMMAND ${_velkano_emscripten_env} ${CMAKE_COMMAND} --build ${VELKANO_WASM_DIR} -j2
        # The inner build knows its own dependencies: asked every time, it does what changed.
        BUILD_ALWAYS ON
        INSTALL_COMMAND ""
        BUILD_BYPRODUCTS ${VELKANO_WASM_DIR}/bin/velkano_wasm_check.js
                         ${VELKANO_WASM_DIR}/bin/velkano_engine.js
        USES_TERMINAL_CONFIGURE ON
        USES_TERMINAL_BUILD ON)
endif()
