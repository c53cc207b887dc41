# The main window and its settings, with the application object of win32_test_main.cpp.
add_library(win32_test_main STATIC win32_test_main.cpp)
target_link_libraries(win32_test_main PUBLIC mivtra_framework GTest::gtest)
target_include_directories(win32_test_main PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

add_executable(shell_tests settings_test.cpp ttaskm_test.cpp)
target_link_libraries(shell_tests PRIVATE mivtra_shell mivtra_resources win32_test_main)
add_test(NAME shell_tests COMMAND shell_tests)
