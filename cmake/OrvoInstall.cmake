include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ORVO_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Orvo)

get_property(orvoAreas GLOBAL PROPERTY ORVO_AREA_TARGETS)
install(TARGETS ${orvoAreas} OrvoPlatform OrvoSuite
    EXPORT OrvoTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

foreach(area ${orvoAreas})
    get_property(headers GLOBAL PROPERTY ORVO_PUBLIC_HEADERS_${area})
    get_target_property(folder ${area} ORVO_FOLDER)
    foreach(header ${headers})
        get_filename_component(subfolder ${header} DIRECTORY)
        install(FILES ${PROJECT_SOURCE_DIR}/src/${folder}/${header}
            DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orvo/${folder}/${subfolder})
    endforeach()
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/src/orvo.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orvo)

install(EXPORT OrvoTargets NAMESPACE Orvo:: DESTINATION ${ORVO_CONFIG_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/OrvoConfig.cmake.in
    ${PROJECT_BINARY_DIR}/OrvoConfig.cmake INSTALL_DESTINATION ${ORVO_CONFIG_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/OrvoConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/OrvoConfig.cmake ${PROJECT_BINARY_DIR}/OrvoConfigVersion.cmake
    DESTINATION ${ORVO_CONFIG_DIR})
