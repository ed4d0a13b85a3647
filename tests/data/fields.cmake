orvo_add_test(NAME tst_fields SOURCES tst_fields.cpp LIBS OrvoPlatformData)
orvo_add_test(NAME tst_fieldsindataset SOURCES tst_fieldsindataset.cpp tmemorytestdataset.cpp tmemorytestdataset.h
    LIBS OrvoPlatformData)
