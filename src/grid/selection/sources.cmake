# The multi-selection: the selected-row and selected-column lists, the selection's
# state and operations, and copying the selection.
set(ORVO_AREA_HEADERS
    torvobookmarklist.h
    torvocolumnlist.h
    torvodbgridselectionapi.h
)
set(ORVO_AREA_PRIVATE_HEADERS
    tcompactbookmarks.h
    torvogridselection.h
    torvoselectioncopy.h
)
set(ORVO_AREA_SOURCES
    tcompactbookmarks.cpp
    torvobookmarklist.cpp
    torvocolumnlist.cpp
    torvodbgridselectionapi.cpp
    torvogridselection.cpp
    torvoselectioncopy.cpp
)
