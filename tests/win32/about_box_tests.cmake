# The about box, its bevel and its URL label; the hand cursor comes from the program's resources.
add_executable(about_box_tests ${CMAKE_CURRENT_LIST_DIR}/about_box_test.cpp)
target_link_libraries(about_box_tests PRIVATE mivtra_shell mivtra_resources win32_test_main)
target_include_directories(about_box_tests PRIVATE ${PROJECT_SOURCE_DIR}/resources)
add_test(NAME about_box_tests COMMAND about_box_tests)
# The URL label's tests move the pointer of the shared test display: nothing else may run meanwhile.
set_tests_properties(about_box_tests PROPERTIES RUN_SERIAL TRUE)
