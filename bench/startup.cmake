# The minimal window program that bench/startup measures the real program
# against.
add_executable(startup_window ${CMAKE_CURRENT_LIST_DIR}/startup_window.cpp)
target_link_libraries(startup_window PRIVATE Qt6::Widgets)
set_target_properties(startup_window PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
