# The drop-down calculator and its display row.
set(ORVO_AREA_HEADERS
    torvodbdisplaydata.h
    torvodbpopupcalculator.h
)
set(ORVO_AREA_PRIVATE_HEADERS
    tcalculatorarithmetic.h
)
set(ORVO_AREA_SOURCES
    tcalculatorarithmetic.cpp
    torvodbdisplaydata.cpp
    torvodbpopupcalculator.cpp
)
