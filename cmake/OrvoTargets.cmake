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

include(${CMAKE_CURRENT_LIST_DIR}/OrvoAreaLists.cmake)

# Adds a static library made of the files an area's source lists name (see
# OrvoAreaLists.cmake). Its public headers are recorded, relative to the area's
# folder, for the install rules; its private headers are compiled in but not installed.
function(orvo_add_area target folder)
    set(areaDir ${PROJECT_SOURCE_DIR}/src/${folder})
    orvo_read_area_lists(area ${areaDir})
    set(files ${area_SOURCES} ${area_HEADERS} ${area_PRIVATE_HEADERS})
    list(TRANSFORM files PREPEND ${areaDir}/)
    add_library(${target} STATIC ${files})
    orvo_library_settings(${target})
    orvo_precompile_headers(${target} LIBRARY)
    set_property(GLOBAL APPEND PROPERTY ORVO_PUBLIC_HEADERS_${target} ${area_HEADERS})
    set_property(GLOBAL APPEND PROPERTY ORVO_AREA_TARGETS ${target})
    set_property(TARGET ${target} PROPERTY ORVO_FOLDER ${folder})
endfunction()
