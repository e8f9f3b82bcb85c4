# velkano_number_text: the one number-conversion library of every build (native GCC, the clang
# fuzz build, MinGW-w64 and Emscripten), header-only: fast_float parses, {fmt} formats, and
# drv/codec/number_text/number_text.h puts them behind the conversions the drivers and the
# tool use. A cross compiler must not search the build machine's /usr/include, so the build
# tree gets a directory holding only links to the two libraries' header folders.
set(VELKANO_NUMBER_TEXT_HEADERS /usr/include
    CACHE PATH "Where the fast_float/ and fmt/ header folders are taken from")

set(_velkano_number_include ${PROJECT_BINARY_DIR}/number_text_include)
file(MAKE_DIRECTORY ${_velkano_number_include})
foreach(_library fast_float fmt)
    if(NOT EXISTS ${VELKANO_NUMBER_TEXT_HEADERS}/${_library})
        message(FATAL_ERROR "${VELKANO_NUMBER_TEXT_HEADERS}/${_library} not found: the Debian "
                            "packages libfast-float-dev and libfmt-dev (scripts/install-deps) "
                            "provide it")
    endif()
    file(CREATE_LINK ${VELKANO_NUMBER_TEXT_HEADERS}/${_library}
         ${_velkano_number_include}/${_library} SYMBOLIC)
endforeach()

add_library(velkano_number_text INTERFACE)
target_include_directories(velkano_number_text SYSTEM INTERFACE ${_velkano_number_include})
target_include_directories(velkano_number_text INTERFACE
    ${PROJECT_SOURCE_DIR}/drv/codec/number_text)
# {fmt} compiled into each user, so no build links a prebuilt libfmt for its own target.
target_compile_definitions(velkano_number_text INTERFACE FMT_HEADER_ONLY)
target_compile_features(velkano_number_text INTERFACE cxx_std_20)
