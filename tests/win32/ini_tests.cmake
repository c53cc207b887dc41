# LAUNCH.INI: the in-memory document against the profile functions, and the file layer.
add_executable(ini_tests
    ${CMAKE_CURRENT_LIST_DIR}/ini_differential_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ini_file_test.cpp
)
target_link_libraries(ini_tests PRIVATE mivtra_launcher win32_test_support GTest::gtest_main)
add_test(NAME ini_tests COMMAND ini_tests)
