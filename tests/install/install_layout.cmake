# An installed velkano finds its drivers: install the build tree to a scratch prefix, move
# nothing, and run `velkano info` and `velkano --version` from there with no --drivers.
# Usage: cmake -DBUILD_DIR=... -DPREFIX=... -P install_layout.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(command info --version)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=VELKANO_DRIVERS
            ${PREFIX}/bin/velkano ${command}
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL 0 OR NOT out MATCHES "lib[^\n]*/velkano/Velkano17Rte.drf"
       OR NOT out MATCHES "lib[^\n]*/velkano/Velkano17Flt.drf")
        message(FATAL_ERROR "velkano ${command} from ${PREFIX}/bin: ${result}\n${out}${err}")
    endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
