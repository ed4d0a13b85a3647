# The popup list grid, its buttons and the drop-down containers that own and place it.
set(ORVO_AREA_HEADERS
    tlistbutton.h
)
set(ORVO_AREA_PRIVATE_HEADERS
)
set(ORVO_AREA_SOURCES
    tlistbutton.cpp
)
