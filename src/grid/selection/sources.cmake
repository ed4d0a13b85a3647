# The selected-row and selected-column lists.
set(ORVO_AREA_HEADERS
    torvobookmarklist.h
    torvocolumnlist.h
)
set(ORVO_AREA_PRIVATE_HEADERS)
set(ORVO_AREA_SOURCES
    torvobookmarklist.cpp
    torvocolumnlist.cpp
)
