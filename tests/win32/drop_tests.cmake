# Files dropped on the drop window, against the real main window and launcher dialog.
add_executable(drop_tests ${CMAKE_CURRENT_LIST_DIR}/drop_files_test.cpp)
target_link_libraries(drop_tests PRIVATE mivtra_shell mivtra_resources win32_test_main)
add_test(NAME drop_tests COMMAND drop_tests)
