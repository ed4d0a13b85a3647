# The drop-down calculator and its display row.
set(ORVO_AREA_HEADERS
    tcalculatorarithmetic.h
    torvodbdisplaydata.h
    torvodbgridcalculator.h
    torvodbpopupcalculator.h
)
set(ORVO_AREA_PRIVATE_HEADERS
)
set(ORVO_AREA_SOURCES
    tcalculatorarithmetic.cpp
    torvodbdisplaydata.cpp
    torvodbgridcalculator.cpp
    torvodbpopupcalculator.cpp
)
