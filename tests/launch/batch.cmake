# The batch-file format on bytes, and the four File menu entries in the main window.
tavo_add_test(tst_batch_format SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_batch_format.cpp LIBS tavo_launch)
tavo_add_test(tst_batch_files SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_batch_files.cpp LIBS tavo_mainwindow)
