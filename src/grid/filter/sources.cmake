# Filter settings, filter texts and the filter dialects.
set(ORVO_AREA_HEADERS
    filterenums.h
    torvodbgridfilter.h
    torvofilterdialect.h
    torvofilterdialects.h
)
set(ORVO_AREA_PRIVATE_HEADERS
    filtertexts.h
    torvogridfilterapply.h
)
set(ORVO_AREA_SOURCES
    filtertexts.cpp
    torvodbgridfilter.cpp
    torvofilterdialect.cpp
    torvofilterdialects.cpp
    torvogridfilterapply.cpp
)
