# The window walk and the switch to a listed window, on windows the tests make. The program's
# icons are linked in: the walk takes its first two pictures from the running file.
add_executable(window_list_tests ${CMAKE_CURRENT_LIST_DIR}/window_list_test.cpp)
target_link_libraries(window_list_tests PRIVATE mivtra_windowlist mivtra_resources win32_test_main)
add_test(NAME window_list_tests COMMAND window_list_tests)
