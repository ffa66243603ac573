# The source-tree scan and the library selection dialog.
add_library(tavo_libraries STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SourceScan.cpp ${CMAKE_CURRENT_LIST_DIR}/SourceScan.h
  ${CMAKE_CURRENT_LIST_DIR}/dlgEditSrc.cpp ${CMAKE_CURRENT_LIST_DIR}/dlgEditSrc.h
  ${CMAKE_CURRENT_LIST_DIR}/LibrarySelection.cpp ${CMAKE_CURRENT_LIST_DIR}/LibrarySelection.h
)
target_link_libraries(tavo_libraries PUBLIC tavo_workspace tavo_app tavo_platform Qt6::Widgets)
