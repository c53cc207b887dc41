# The resident shell's portable part: which form of the help to open, with no <windows.h>, so
# that it is built and tested natively too.
add_library(mivtra_shell_model STATIC
    ${CMAKE_CURRENT_LIST_DIR}/help_choice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/startup_rule.cpp
)
target_link_libraries(mivtra_shell_model PUBLIC mivtra_base)
