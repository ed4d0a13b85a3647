orvo_add_test(NAME tst_customdata SOURCES tst_customdata.cpp tvectordata.cpp tvectordata.h trecordinglink.h
    LIBS OrvoPlatformData)
orvo_add_test(NAME tst_customdata_editing SOURCES tst_customdata_editing.cpp tvectordata.cpp tvectordata.h
    trecordinglink.h LIBS OrvoPlatformData)
