list(APPEND ORVO_AREA_HEADERS
    fieldlists.h
    orvolistsettings.h
    torvocustomdbgrid.h
    torvodbgrid.h
    torvodbgridgradient.h
    torvogriddatalink.h
)
list(APPEND ORVO_AREA_SOURCES
    fieldlists.cpp
    orvolistsettings.cpp
    torvocustomdbgrid.cpp
    torvocustomdbgrid_events.cpp
    torvocustomdbgrid_layout.cpp
    torvocustomdbgrid_link.cpp
    torvocustomdbgrid_moves.cpp
    torvocustomdbgrid_options.cpp
    torvocustomdbgrid_order.cpp
    torvocustomdbgrid_properties.cpp
    torvocustomdbgrid_scrollbar.cpp
    torvocustomdbgrid_text.cpp
    torvodbgrid.cpp
    torvodbgridgradient.cpp
    torvogriddatalink.cpp
)
