orvo_add_test(NAME tst_gridobject SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_gridobject.cpp LIBS OrvoGrid OrvoPlatformSqlite)
