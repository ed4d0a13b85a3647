orvo_add_test(NAME tst_dataset SOURCES tst_dataset.cpp tmemorytestdataset.cpp tmemorytestdataset.h
    trecordinglink.h LIBS OrvoPlatformData)
orvo_add_test(NAME tst_dataset_editing SOURCES tst_dataset_editing.cpp tmemorytestdataset.cpp
    tmemorytestdataset.h trecordinglink.h LIBS OrvoPlatformData)
