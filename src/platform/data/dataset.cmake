list(APPEND ORVO_AREA_HEADERS
    tdatalink.h
    tdataset.h
    tdatasetenums.h
    tdatasource.h
    tfielddatalink.h
    tfielddefs.h
    tfields.h
    trecordbuffer.h
    trecordtexttest.h
)
list(APPEND ORVO_AREA_SOURCES
    tdatalink.cpp
    tdataset.cpp
    tdataset_editing.cpp
    tdataset_locate.cpp
    tdataset_navigation.cpp
    tdatasource.cpp
    tfielddatalink.cpp
    tfielddefs.cpp
    tfields.cpp
    trecordtexttest.cpp
)
list(APPEND ORVO_AREA_PRIVATE_HEADERS
    tlocatekeys.h
)
