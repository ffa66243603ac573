# The source-tree scan against a bare walk of the same generated tree.
find_package(benchmark REQUIRED)
add_executable(scan_bench ${CMAKE_CURRENT_LIST_DIR}/scan_bench.cpp)
target_link_libraries(scan_bench PRIVATE tavo_libraries benchmark::benchmark Qt6::Widgets)
