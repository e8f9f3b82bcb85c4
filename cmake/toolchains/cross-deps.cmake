# Dependencies of the cross builds (Windows, WebAssembly), served by a dependency provider so
# the project's own find_package() calls stay as they are. GoogleTest is compiled for the target from
# Debian's sources; CLI11 and nlohmann_json are header-only and are served from a copy of
# just their headers, so the build machine's /usr/include never reaches the cross compiler.
set(VELKANO_GTEST_SOURCE_DIR /usr/src/googletest
    CACHE PATH "GoogleTest sources compiled for the target")
set(VELKANO_HOST_INCLUDE_DIR /usr/include
    CACHE PATH "Where the header-only dependencies' headers are taken from")

function(_velkano_add_googletest)
    if(TARGET GTest::gtest)
        return()
    endif()
    if(NOT EXISTS ${VELKANO_GTEST_SOURCE_DIR}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest sources not found in ${VELKANO_GTEST_SOURCE_DIR} "
                            "(Debian package googletest)")
    endif()
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    # Our warning flags are not GoogleTest's: build it with its own, not as errors.
    get_directory_property(saved COMPILE_OPTIONS)
    set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
    set(CMAKE_COMPILE_WARNING_AS_ERROR OFF)
    add_subdirectory(${VELKANO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_deps/googletest
                     EXCLUDE_FROM_ALL SYSTEM)
    set_directory_properties(PROPERTIES COMPILE_OPTIONS "${saved}")
endfunction()

# An imported header-only target over a private copy of one header directory.
function(_velkano_add_headers target directory)
    if(TARGET ${target})
        return()
    endif()
    set(copy ${CMAKE_BINARY_DIR}/_deps/headers)
    if(NOT EXISTS ${VELKANO_HOST_INCLUDE_DIR}/${directory})
        message(FATAL_ERROR "${VELKANO_HOST_INCLUDE_DIR}/${directory} not found")
    endif()
    file(COPY ${VELKANO_HOST_INCLUDE_DIR}/${directory} DESTINATION ${copy})
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${copy})
endfunction()

function(velkano_cross_provider method package)
    if(package STREQUAL "GTest")
        _velkano_add_googletest()
    elseif(package STREQUAL "CLI11")
        _velkano_add_headers(CLI11::CLI11 CLI)
    elseif(package STREQUAL "nlohmann_json")
        _velkano_add_headers(nlohmann_json::nlohmann_json nlohmann)
    else()
        return()  # everything else: CMake's own search
    endif()
    set(${package}_FOUND TRUE PARENT_SCOPE)
endfunction()

cmake_language(SET_DEPENDENCY_PROVIDER velkano_cross_provider SUPPORTED_METHODS FIND_PACKAGE)
