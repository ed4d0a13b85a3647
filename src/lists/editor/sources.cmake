# The cell editor's side of the lists: opening, closing and feeding a column's list.
set(ORVO_AREA_HEADERS
    torvodbgrideditor.h
)
set(ORVO_AREA_PRIVATE_HEADERS
)
set(ORVO_AREA_SOURCES
    torvodbgrideditor.cpp
)
