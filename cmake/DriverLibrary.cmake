# velkano_add_driver(NAME TABLE FUNCTION SOURCES... LIBRARIES...): a driver plug-in named
# NAME.drf that exports the FIO_ table and nothing else, and NAME_linked, the same driver as a
# static library for linking into a program beside the other one, whose export table
# velkano::FUNCTION() returns (velkano/linked_drivers.h). The frame is compiled into each
# driver, which defines what the frame declares for it (kDriverIdentity, makeDriverState).
set(VELKANO_FRAME_DIR ${PROJECT_SOURCE_DIR}/drv/frame)
set(VELKANO_DEF_FILE ${VELKANO_FRAME_DIR}/fio_exports.def)

# The linker version script is generated from the .def file, the one list of exports.
file(STRINGS ${VELKANO_DEF_FILE} _def_lines REGEX "^[ \t]+FIO_")
set(_globals "")
foreach(_line IN LISTS _def_lines)
    string(REGEX MATCH "FIO_[A-Za-z0-9]+" _name "${_line}")
    string(APPEND _globals "    ${_name};\n")
endforeach()
set(VELKANO_VERSION_SCRIPT ${PROJECT_BINARY_DIR}/fio_exports.map)
# Written only when it changes, so configuring again does not relink the drivers.
file(CONFIGURE OUTPUT ${VELKANO_VERSION_SCRIPT}
     CONTENT "{\n  global:\n${_globals}  local:\n    *;\n};\n" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VELKANO_DEF_FILE})

# Runtime DLLs the toolchain's binaries need (VELKANO_RUNTIME_DLLS, set by the toolchain file)
# go beside them, so the drivers, velkano.exe and the tests run from the build directory.
if(WIN32)
    foreach(_dll IN LISTS VELKANO_RUNTIME_DLLS)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_dll}
                        OUTPUT_VARIABLE _dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${_dll_path}" OR NOT EXISTS "${_dll_path}")
            message(FATAL_ERROR "${_dll} not found by ${CMAKE_CXX_COMPILER}")
        endif()
        file(COPY ${_dll_path} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    endforeach()
endif()

function(velkano_add_driver name)
    cmake_parse_arguments(ARG "" "TABLE" "SOURCES;LIBRARIES" ${ARGN})
    add_library(${name}_linked STATIC
        ${ARG_SOURCES}
        ${VELKANO_FRAME_DIR}/driver_frame.cpp
        ${VELKANO_FRAME_DIR}/export_table.cpp)
    target_compile_definitions(${name}_linked PRIVATE
        VELKANO_LINKED_DRIVER=${name} VELKANO_LINKED_TABLE=${ARG_TABLE})
    target_link_libraries(${name}_linked PUBLIC ${ARG_LIBRARIES} velkano_frame)
    # No shared libraries to load in a WebAssembly build: only the linked driver there.
    if(EMSCRIPTEN)
        return()
    endif()

    add_library(${name} MODULE
        ${ARG_SOURCES}
        ${VELKANO_FRAME_DIR}/driver_frame.cpp)
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".drf" OUTPUT_NAME ${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} velkano_frame)
    if(WIN32)
        # DllMain releases the state on unload; NAME.rc beside the driver's sources carries
        # its version resource.
        target_sources(${name} PRIVATE ${VELKANO_DEF_FILE}
            ${VELKANO_FRAME_DIR}/dll_main.cpp)
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${name}.rc)
            target_sources(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${name}.rc)
            set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/${name}.rc PROPERTIES
                INCLUDE_DIRECTORIES ${VELKANO_FRAME_DIR}
                OBJECT_DEPENDS ${VELKANO_FRAME_DIR}/driver_version.rc)
        endif()
    else()
        target_link_options(${name} PRIVATE "LINKER:--version-script=${VELKANO_VERSION_SCRIPT}")
        set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${VELKANO_VERSION_SCRIPT})
    endif()
    install(TARGETS ${name} LIBRARY DESTINATION ${VELKANO_INSTALL_DRIVERDIR})
endfunction()
