orvo_add_test(NAME tst_grid_scrollbar SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_grid_scrollbar.cpp LIBS OrvoGrid OrvoPlatformSqlite)
