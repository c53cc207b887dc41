# HOOK.DLL: its exports and imports, and the hook under real injected input.
add_executable(hook_tests ${CMAKE_CURRENT_LIST_DIR}/hook_test.cpp)
target_link_libraries(hook_tests PRIVATE hook_import GTest::gtest_main)
add_test(NAME hook_tests COMMAND hook_tests)
target_include_directories(hook_tests PRIVATE ${PROJECT_SOURCE_DIR}/src)
# It injects real mouse input into the shared Wine desktop: nothing else may run meanwhile.
set_tests_properties(hook_tests PROPERTIES RUN_SERIAL TRUE)

# The DLL's own export table against the published ordinals, read with the toolchain's
# objdump and nm: independent of HOOK.def, which the DLL and its import library share.
add_test(NAME hook_ordinals
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/hook_ordinals.sh ${CMAKE_OBJDUMP} ${CMAKE_NM} $<TARGET_FILE:HOOK>)

# The main window's chord handler, with the hook library's record and the system's point
# conversion stood in for.
add_executable(mouse_chord_tests ${CMAKE_CURRENT_LIST_DIR}/mouse_chord_test.cpp)
target_link_libraries(mouse_chord_tests PRIVATE mivtra_triggers win32_test_main)
add_test(NAME mouse_chord_tests COMMAND mouse_chord_tests)
