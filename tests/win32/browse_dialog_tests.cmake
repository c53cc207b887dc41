# The folder browse component: its shell calls answered by stand-ins, and once the real dialog.
add_executable(browse_dialog_tests ${CMAKE_CURRENT_LIST_DIR}/browse_dialog_test.cpp)
target_link_libraries(browse_dialog_tests PRIVATE mivtra_components win32_test_main ole32)
add_test(NAME browse_dialog_tests COMMAND browse_dialog_tests)
