# The program's resources, checked in a test program that carries the same resource object.
add_executable(resources_tests ${CMAKE_CURRENT_LIST_DIR}/resources_test.cpp)
target_link_libraries(resources_tests PRIVATE mivtra_resources mivtra_framework GTest::gtest_main version)
target_include_directories(resources_tests PRIVATE ${PROJECT_SOURCE_DIR}/resources)
add_test(NAME resources_tests COMMAND resources_tests)

# The committed artwork must be what the drawing script draws now.
if(MIVTRA_ART_COMMAND)
    add_test(NAME resources_art_current COMMAND ${MIVTRA_ART_COMMAND} --check)
endif()
