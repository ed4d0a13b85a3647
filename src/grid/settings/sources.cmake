# The stored layout of a grid.
set(ORVO_AREA_HEADERS
    settingsenums.h
    torvodbgridsettings.h
)
set(ORVO_AREA_PRIVATE_HEADERS)
set(ORVO_AREA_SOURCES
    torvodbgridsettings.cpp
)
