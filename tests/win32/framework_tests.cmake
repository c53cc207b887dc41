# The component layer's forms and controls, with a form definition of the test's own.
add_executable(framework_tests ${CMAKE_CURRENT_LIST_DIR}/controls_test.cpp)
target_link_libraries(framework_tests PRIVATE win32_test_main)
add_test(NAME framework_tests COMMAND framework_tests)
