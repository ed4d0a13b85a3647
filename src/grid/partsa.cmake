# The grid's style, scroll-bar, tree-view and stored-settings objects.
list(APPEND ORVO_AREA_HEADERS
    gridstyleenums.h
    settingsenums.h
    torvodbgridsettings.h
    torvodbgridtreeview.h
    torvogridstyle.h
    torvoscrollprop.h
)
list(APPEND ORVO_AREA_SOURCES
    torvodbgridsettings.cpp
    torvodbgridtreeview.cpp
    torvogridstyle.cpp
    torvoscrollprop.cpp
)
