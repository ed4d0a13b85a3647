set(ORVO_AREA_HEADERS
    coreenums.h
    exceptions.h
    tcurrency.h
    tdatetime.h
    texceptionhandler.h
    tscopecleanup.h
    townvalue.h
    tset.h
    tvariant.h
)
set(ORVO_AREA_SOURCES
    tcurrency.cpp
    tdatetime.cpp
    texceptionhandler.cpp
    tvariant.cpp
)
list(APPEND ORVO_AREA_HEADERS
    datetimeformat.h
    datetimeparse.h
    dateutils.h
    floatformat.h
    format.h
    strconvert.h
    tcolor.h
    tdecimalnumber.h
    tformatsettings.h
    tpersistent.h
    tsystemprofile.h
)
list(APPEND ORVO_AREA_SOURCES
    datetimeformat.cpp
    datetimeparse.cpp
    dateutils.cpp
    floatformat.cpp
    format.cpp
    strconvert.cpp
    tcolor.cpp
    tdecimalnumber.cpp
    tformatsettings.cpp
    tpersistent.cpp
    tsystemprofile.cpp
)
# The owned, ordered item lists settings objects are made of (the grid's columns).
list(APPEND ORVO_AREA_HEADERS
    tcollection.h
)
list(APPEND ORVO_AREA_SOURCES
    tcollection.cpp
)
# Stored settings: INI files and the per-user registry tree of INI files.
list(APPEND ORVO_AREA_HEADERS
    tcustominifile.h
    tinifile.h
    tregistryinifile.h
)
list(APPEND ORVO_AREA_SOURCES
    tcustominifile.cpp
    tinifile.cpp
    tregistryinifile.cpp
)
# Form-file text streaming of published properties (column and grid streams, report forms).
list(APPEND ORVO_AREA_HEADERS
    tformproperty.h
    tformreader.h
    tformwriter.h
)
list(APPEND ORVO_AREA_SOURCES
    tformproperty.cpp
    tformreader.cpp
    tformwriter.cpp
)
