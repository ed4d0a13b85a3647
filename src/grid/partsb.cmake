# The grid's filter, search and totals settings and its selection lists.
list(APPEND ORVO_AREA_HEADERS
    filterenums.h
    filtertexts.h
    torvobookmarklist.h
    torvocolumnlist.h
    torvodbgridfilter.h
    torvodbgridsearch.h
    torvodbgridtotals.h
    torvofilterdialect.h
    torvototaldatalink.h
)
list(APPEND ORVO_AREA_SOURCES
    filtertexts.cpp
    torvobookmarklist.cpp
    torvocolumnlist.cpp
    torvodbgridfilter.cpp
    torvodbgridsearch.cpp
    torvodbgridtotals.cpp
    torvofilterdialect.cpp
    torvototaldatalink.cpp
)
