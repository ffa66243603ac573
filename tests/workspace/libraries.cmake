# The source-tree scan and the library selection dialog.
tavo_add_test(tst_scan SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_scan.cpp LIBS tavo_libraries)
tavo_add_test(tst_dlgeditsrc SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_dlgeditsrc.cpp LIBS tavo_libraries)
# The same through the real main window, which joins every subsystem.
tavo_add_test(tst_dlgeditsrc_main SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_dlgeditsrc_main.cpp LIBS tavo_mainwindow)
