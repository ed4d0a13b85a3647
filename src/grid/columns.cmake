# The grid's columns: the collection, columns, titles, report settings and totals.
list(APPEND ORVO_AREA_HEADERS
    columnenums.h
    torvocolumn.h
    torvocolumnreport.h
    torvocolumnswrapper.h
    torvocolumntitle.h
    torvocolumntotal.h
    torvocolumntotalfields.h
    torvocolumntotalfooter.h
    torvocolumntotalheader.h
    torvocolumntotalvalue.h
    torvocolumntotalvalues.h
    torvodbgridcolumns.h
)
list(APPEND ORVO_AREA_SOURCES
    torvocolumn.cpp
    torvocolumn_binding.cpp
    torvocolumnreport.cpp
    torvocolumnswrapper.cpp
    torvocolumntitle.cpp
    torvocolumntotal.cpp
    torvocolumntotalfields.cpp
    torvocolumntotalfooter.cpp
    torvocolumntotalheader.cpp
    torvocolumntotalvalue.cpp
    torvocolumntotalvalues.cpp
    torvodbgridcolumns.cpp
    torvodbgridcolumns_layout.cpp
)
