# The grid's painting: the cell pipeline, fixed-cell and title painting, the text
# layout of cells and the resolution of the fixed styles.
list(APPEND ORVO_AREA_HEADERS
    tcellpicture.h
    timagesbitmap.h
    tthemedbitmap.h
    torvodbgridpainter.h
    torvofixedstyles.h
    torvotextlayout.h
)
list(APPEND ORVO_AREA_SOURCES
    tcellpicture.cpp
    timagesbitmap.cpp
    tthemedbitmap.cpp
    torvodbgridpainter.cpp
    torvodbgridpainter_data.cpp
    torvodbgridpainter_fixed.cpp
    torvofixedstyles.cpp
    torvotextlayout.cpp
)
