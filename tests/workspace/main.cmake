tavo_add_test(tst_workspacefile SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_workspacefile.cpp LIBS tavo_workspace)
tavo_add_test(tst_mainwindow SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_mainwindow.cpp LIBS tavo_mainwindow)
