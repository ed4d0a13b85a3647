# The auto-filter list and the value rows it shows.
set(ORVO_AREA_HEADERS
    torvodbfilterdata.h
    torvodbgridfilterlist.h
    torvodbpopupfilterlist.h
    torvofiltervalues.h
)
set(ORVO_AREA_PRIVATE_HEADERS
)
set(ORVO_AREA_SOURCES
    torvodbfilterdata.cpp
    torvodbgridfilterlist.cpp
    torvodbpopupfilterlist.cpp
    torvofiltervalues.cpp
)
