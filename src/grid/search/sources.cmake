# The search settings.
set(ORVO_AREA_HEADERS
    torvodbgridsearch.h
)
set(ORVO_AREA_PRIVATE_HEADERS
    tsearchmatcher.h
)
set(ORVO_AREA_SOURCES
    torvodbgridsearch.cpp
    tsearchmatcher.cpp
)
