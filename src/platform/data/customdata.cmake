list(APPEND ORVO_AREA_HEADERS
    torvodbcustomdata.h
)
list(APPEND ORVO_AREA_SOURCES
    torvodbcustomdata.cpp
    torvodbcustomdata_editing.cpp
    torvodbcustomdata_locate.cpp
)
