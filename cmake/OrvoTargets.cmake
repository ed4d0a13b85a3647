include(GNUInstallDirs)

# Shared settings for every Orvo library target.
function(orvo_library_settings target)
    # Public, so that the exported targets carry the language level their headers need:
    # a program linking Orvo::Suite gets C++20 without asking for it.
    target_compile_features(${target} PUBLIC cxx_std_20)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    target_include_directories(${target} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src>
        $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/orvo>)
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()

# Adds a static library made of the sources listed in an area's sources.cmake,
# which sets ORVO_AREA_SOURCES and ORVO_AREA_HEADERS relative to its folder.
function(orvo_add_area target folder)
    set(ORVO_AREA_SOURCES)
    set(ORVO_AREA_HEADERS)
    include(${PROJECT_SOURCE_DIR}/src/${folder}/sources.cmake)
    list(TRANSFORM ORVO_AREA_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/src/${folder}/)
    list(TRANSFORM ORVO_AREA_HEADERS PREPEND ${PROJECT_SOURCE_DIR}/src/${folder}/)
    add_library(${target} STATIC ${ORVO_AREA_SOURCES} ${ORVO_AREA_HEADERS})
    orvo_library_settings(${target})
    set_property(GLOBAL APPEND PROPERTY ORVO_PUBLIC_HEADERS_${target} ${ORVO_AREA_HEADERS})
    set_property(GLOBAL APPEND PROPERTY ORVO_AREA_TARGETS ${target})
    set_property(TARGET ${target} PROPERTY ORVO_FOLDER ${folder})
endfunction()
