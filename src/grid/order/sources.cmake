# The sort order: the order and data-update brackets, the ordering strategies registered
# per dataset class, and the order texts they read and write.
set(ORVO_AREA_HEADERS
    ordertext.h
    torvochangeorderlist.h
    torvodbgridorderapi.h
)
set(ORVO_AREA_PRIVATE_HEADERS
    propertypath.h
    torvogridorder.h
)
set(ORVO_AREA_SOURCES
    ordertext.cpp
    propertypath.cpp
    torvochangeorderlist.cpp
    torvodbgridorderapi.cpp
    torvogridorder.cpp
    torvogridorder_strategies.cpp
)
