# Keys, the mouse buttons and wheel and input methods of the data grid.
set(ORVO_AREA_HEADERS
    torvodbgridinputapi.h
    torvogridkeyboard.h
)
set(ORVO_AREA_PRIVATE_HEADERS
    torvogridinputmethod.h
    torvogridmouse.h
    torvogridwheel.h
)
set(ORVO_AREA_SOURCES
    torvodbgridinputapi.cpp
    torvogridinputmethod.cpp
    torvogridkeyboard.cpp
    torvogridmouse.cpp
    torvogridwheel.cpp
)
