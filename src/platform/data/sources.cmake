set(ORVO_AREA_HEADERS
    tfieldtype.h
)
set(ORVO_AREA_SOURCES
    tfieldtype.cpp
)
# The filter-expression engine keeps its own list.
include(${CMAKE_CURRENT_LIST_DIR}/filterengine.cmake)
# The dataset and the field family keep their own lists.
include(${CMAKE_CURRENT_LIST_DIR}/dataset.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/fields.cmake)
# The dataset over an indexed source keeps its own list.
include(${CMAKE_CURRENT_LIST_DIR}/customdata.cmake)
