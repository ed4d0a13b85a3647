orvo_add_test(NAME tst_grid_columns SOURCES tst_grid_columns.cpp LIBS OrvoGrid)
orvo_add_test(NAME tst_grid_markers SOURCES tst_grid_markers.cpp LIBS OrvoGrid)
