# The drop-down calendar and the month pages it shows.
set(ORVO_AREA_HEADERS
)
set(ORVO_AREA_PRIVATE_HEADERS
)
set(ORVO_AREA_SOURCES
)
