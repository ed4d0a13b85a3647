# The tree-view settings.
set(ORVO_AREA_HEADERS
    torvodbgridtreeview.h
)
set(ORVO_AREA_PRIVATE_HEADERS)
set(ORVO_AREA_SOURCES
    torvodbgridtreeview.cpp
)
