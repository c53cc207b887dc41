# The triggers' portable part: what a dropped path becomes, with no <windows.h>, so that it is
# built and tested natively too.
add_library(mivtra_triggers_model STATIC
    ${CMAKE_CURRENT_LIST_DIR}/drop_entry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shortcut_key.cpp
)
target_link_libraries(mivtra_triggers_model PUBLIC mivtra_base)
