# The launcher's portable part: its file format, its backups and the naming of its menu, with no
# <windows.h>, so that it is built and tested natively too.
add_library(mivtra_launcher_model STATIC
    ${CMAKE_CURRENT_LIST_DIR}/file_kind.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_version.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launch_damage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launch_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launch_generations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launch_menu_plan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launch_paths.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launch_tree.cpp
    ${CMAKE_CURRENT_LIST_DIR}/preorder_index.cpp
)
target_link_libraries(mivtra_launcher_model PUBLIC mivtra_base)
