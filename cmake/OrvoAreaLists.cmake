# Reads an area's source lists. An area's folder has a sources.cmake that sets
# ORVO_AREA_SOURCES, ORVO_AREA_HEADERS (installed), ORVO_AREA_PRIVATE_HEADERS (not
# installed) and, for an area split into sub-folders, ORVO_AREA_SUBFOLDERS; each
# sub-folder's own sources.cmake sets the same three lists for its files. Both the
# main build and the fuzz build read the lists through this one function.
#
# Sets, in the caller's scope, <prefix>_SOURCES, <prefix>_HEADERS and
# <prefix>_PRIVATE_HEADERS with paths relative to the area's folder.
function(orvo_read_area_lists prefix areaDir)
    set(sources)
    set(headers)
    set(privateHeaders)
    set(ORVO_AREA_SUBFOLDERS)
    set(ORVO_AREA_SOURCES)
    set(ORVO_AREA_HEADERS)
    set(ORVO_AREA_PRIVATE_HEADERS)
    include(${areaDir}/sources.cmake)
    list(APPEND sources ${ORVO_AREA_SOURCES})
    list(APPEND headers ${ORVO_AREA_HEADERS})
    list(APPEND privateHeaders ${ORVO_AREA_PRIVATE_HEADERS})
    set(subfolders ${ORVO_AREA_SUBFOLDERS})
    foreach(sub ${subfolders})
        set(ORVO_AREA_SOURCES)
        set(ORVO_AREA_HEADERS)
        set(ORVO_AREA_PRIVATE_HEADERS)
        include(${areaDir}/${sub}/sources.cmake)
        foreach(kind SOURCES HEADERS PRIVATE_HEADERS)
            list(TRANSFORM ORVO_AREA_${kind} PREPEND ${sub}/)
        endforeach()
        list(APPEND sources ${ORVO_AREA_SOURCES})
        list(APPEND headers ${ORVO_AREA_HEADERS})
        list(APPEND privateHeaders ${ORVO_AREA_PRIVATE_HEADERS})
    endforeach()
    set(${prefix}_SOURCES ${sources} PARENT_SCOPE)
    set(${prefix}_HEADERS ${headers} PARENT_SCOPE)
    set(${prefix}_PRIVATE_HEADERS ${privateHeaders} PARENT_SCOPE)
endfunction()
