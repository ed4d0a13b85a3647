# The data grid: the grid object and the parts it owns. Each group of classes
# keeps its own list so that they can be built and reviewed apart.
set(ORVO_AREA_HEADERS
    dbgridenums.h
)
set(ORVO_AREA_SOURCES
)
foreach(list gridobject columns partsa partsb painter)
    include(${CMAKE_CURRENT_LIST_DIR}/${list}.cmake)
endforeach()
