# The launcher settings dialog: LAUNCH.INI, the launcher submenu, launching through the shell
# and the launcher items' pictures. record_args is the program the launching tests start.
add_executable(record_args WIN32 ${CMAKE_CURRENT_LIST_DIR}/record_args.cpp)

add_executable(launcher_tests ${CMAKE_CURRENT_LIST_DIR}/launcher_test.cpp ${CMAKE_CURRENT_LIST_DIR}/launcher_dialog_test.cpp)
target_link_libraries(launcher_tests PRIVATE mivtra_shell mivtra_resources win32_test_main)
add_dependencies(launcher_tests record_args)
add_test(NAME launcher_tests COMMAND launcher_tests)
