# The main window and its settings.

add_executable(shell_tests settings_test.cpp main_window_test.cpp)
target_link_libraries(shell_tests PRIVATE mivtra_shell mivtra_resources win32_test_main)
add_test(NAME shell_tests COMMAND shell_tests)
