# The two command lines, and Compile and Open Editor pressed in the main window.
tavo_add_test(tst_commandlines SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_commandlines.cpp LIBS tavo_launch)
tavo_add_test(tst_launch_actions SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_launch_actions.cpp LIBS tavo_mainwindow)
