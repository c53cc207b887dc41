# The components' portable part: the folder browse dialog's option flags and selection rule,
# with no <windows.h>, so that it is built and tested natively too.
add_library(mivtra_components_model STATIC
    ${CMAKE_CURRENT_LIST_DIR}/browse_options.cpp
)
target_link_libraries(mivtra_components_model PUBLIC mivtra_base)
