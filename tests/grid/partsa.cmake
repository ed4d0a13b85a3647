orvo_add_test(NAME tst_grid_style SOURCES tst_grid_style.cpp LIBS OrvoGrid)
orvo_add_test(NAME tst_grid_settings SOURCES tst_grid_settings.cpp LIBS OrvoGrid)
orvo_add_test(NAME tst_grid_treeview SOURCES tst_grid_treeview.cpp LIBS OrvoGrid OrvoPlatformSqlite)
