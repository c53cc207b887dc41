# The tray icon component and its message window, with the shell call replaced by a recorder.
add_executable(task_tray_tests ${CMAKE_CURRENT_LIST_DIR}/task_tray_test.cpp)
target_link_libraries(task_tray_tests PRIVATE mivtra_components win32_test_main)
add_test(NAME task_tray_tests COMMAND task_tray_tests)
