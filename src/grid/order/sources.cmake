# The sort order: the order texts the dataset order strategies read and write.
set(ORVO_AREA_HEADERS
    ordertext.h
)
set(ORVO_AREA_PRIVATE_HEADERS
)
set(ORVO_AREA_SOURCES
    ordertext.cpp
)
