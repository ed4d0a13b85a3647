# The drop-down calendar and the month pages it shows.
set(ORVO_AREA_HEADERS
    torvodbmonthdata.h
)
set(ORVO_AREA_PRIVATE_HEADERS
    tcalendarcolumns.h
    tcalendarnavigator.h
    tcalendarpage.h
)
set(ORVO_AREA_SOURCES
    tcalendarcolumns.cpp
    tcalendarnavigator.cpp
    tcalendarpage.cpp
    torvodbmonthdata.cpp
)
