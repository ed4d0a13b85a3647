orvo_add_test(NAME tst_gridobject SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_gridobject.cpp LIBS OrvoGrid OrvoPlatformSqlite)
orvo_add_test(NAME tst_gridlayout SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_gridlayout.cpp LIBS OrvoGrid OrvoPlatformSqlite)
orvo_add_test(NAME tst_grid_link SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_grid_link.cpp LIBS OrvoGrid OrvoPlatformSqlite)
