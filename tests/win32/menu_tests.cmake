# The pop-up menu of the main window: its items, its openings and its commands. The program's
# icons are linked in for the pictures the menu takes from its own file.
add_executable(menu_tests ${CMAKE_CURRENT_LIST_DIR}/menu_commands_test.cpp)
target_link_libraries(menu_tests PRIVATE mivtra_shell mivtra_resources win32_test_main)
add_test(NAME menu_tests COMMAND menu_tests)
# A thousand real openings of the menu take half a minute on a quiet machine, minutes on a
# busy one; every wait inside is bounded on its own.
set_tests_properties(menu_tests PROPERTIES TIMEOUT 600)
