# What `cmake --install` and the packages carry besides the targets' own install rules: the
# SDK's CMake package, the documentation and the man page, and the Debian package settings.
include(CMakePackageConfigHelpers)

set(VELKANO_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Velkano)
install(EXPORT VelkanoTargets NAMESPACE Velkano:: DESTINATION ${VELKANO_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VelkanoConfig.cmake.in
    ${PROJECT_BINARY_DIR}/VelkanoConfig.cmake
    INSTALL_DESTINATION ${VELKANO_INSTALL_CMAKEDIR}
    PATH_VARS VELKANO_INSTALL_DRIVERDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VelkanoConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VelkanoConfig.cmake
              ${PROJECT_BINARY_DIR}/VelkanoConfigVersion.cmake
        DESTINATION ${VELKANO_INSTALL_CMAKEDIR})

# A project that adds this one with add_subdirectory finds the drivers here.
if(NOT PROJECT_IS_TOP_LEVEL)
    set(Velkano_DRIVER_DIR ${CMAKE_LIBRARY_OUTPUT_DIRECTORY} PARENT_SCOPE)
endif()

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

# The man page is velkano's own help, so it never says something else; it is made by running
# velkano, which a cross build cannot do.
if(TARGET velkano AND NOT CMAKE_CROSSCOMPILING)
    set(_man ${PROJECT_BINARY_DIR}/velkano.1)
    add_custom_command(OUTPUT ${_man}
        COMMAND ${CMAKE_COMMAND} -DVELKANO=$<TARGET_FILE:velkano> -DOUT=${_man}
                -DVERSION=${PROJECT_VERSION} -P ${CMAKE_CURRENT_LIST_DIR}/VelkanoMan.cmake
        DEPENDS velkano Velkano17Rte Velkano17Flt ${CMAKE_CURRENT_LIST_DIR}/VelkanoMan.cmake
        COMMENT "Writing the velkano man page")
    add_custom_target(velkano_man ALL DEPENDS ${_man})
    install(FILES ${_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The Debian package (scripts/package): velkano on the PATH, the drivers in /usr/lib/velkano,
# the converter page in /usr/share/velkano, the SDK, the README, the licence and the man
# page. A project that adds this one packages itself.
if(NOT PROJECT_IS_TOP_LEVEL)
    return()
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velkano)
set(CPACK_PACKAGE_VENDOR "The Velkano driver contributors")
set(CPACK_PACKAGE_CONTACT "The Velkano driver contributors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Velkano 1.7 flight and route file drivers, the velkano converter and the host SDK")
set(CPACK_PACKAGE_DESCRIPTION "\
The two file drivers Velkano17Rte.drf (task and turnpoint files) and Velkano17Flt.drf
(flight files), velkano, a command line host that converts flight files to IGC and task
files to and from JSON and CUP, the same conversions as one web page that any current
browser opens (/usr/share/velkano/velkano.html), and the headers, library and CMake
package for writing a host.
Licence: MIT.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
include(CPack)
