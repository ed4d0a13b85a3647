orvo_add_test(NAME tst_grid_filterobject SOURCES tst_grid_filterobject.cpp LIBS OrvoGrid)
orvo_add_test(NAME tst_grid_totals SOURCES tst_grid_totals.cpp LIBS OrvoGrid)
orvo_add_test(NAME tst_grid_selectionlists SOURCES tst_grid_selectionlists.cpp LIBS OrvoGrid)
