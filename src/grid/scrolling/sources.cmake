# The scroll-bar settings.
set(ORVO_AREA_HEADERS
    torvoscrollprop.h
)
set(ORVO_AREA_PRIVATE_HEADERS
    torvogridscrollbars.h
)
set(ORVO_AREA_SOURCES
    torvogridscrollbars.cpp
    torvoscrollprop.cpp
)
