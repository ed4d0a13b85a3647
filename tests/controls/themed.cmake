orvo_add_test(NAME tst_themedcontrols SOURCES tst_themedcontrols.cpp LIBS OrvoControls)
