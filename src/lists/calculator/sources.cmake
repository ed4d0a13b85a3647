# The drop-down calculator and its display row.
set(ORVO_AREA_HEADERS
)
set(ORVO_AREA_PRIVATE_HEADERS
)
set(ORVO_AREA_SOURCES
)
