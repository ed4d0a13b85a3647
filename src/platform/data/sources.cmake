set(ORVO_AREA_HEADERS
    tfieldtype.h
)
set(ORVO_AREA_SOURCES
    tfieldtype.cpp
)
