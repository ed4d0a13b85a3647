# The search settings.
set(ORVO_AREA_HEADERS
    torvodbgridsearch.h
)
set(ORVO_AREA_PRIVATE_HEADERS)
set(ORVO_AREA_SOURCES
    torvodbgridsearch.cpp
)
