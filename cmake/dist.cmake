# The release: the target "dist" packs Mivtra.exe and HOOK.DLL, stripped of symbols and debug
# sections on the way (the build keeps them: tests read HOOK.DLL's symbol table, and the static
# runtime libraries bring debug information of their own), with the help and the readme into
# dist/mivtraNNN.zip (2.02 -> mivtra202.zip).
string(REPLACE "." "" versionDigits ${PROJECT_VERSION})
set(MIVTRA_DIST_ZIP ${PROJECT_SOURCE_DIR}/dist/mivtra${versionDigits}.zip)
add_custom_target(dist
    COMMAND ${Python3_EXECUTABLE} -B ${PROJECT_SOURCE_DIR}/scripts/dist.py
        --strip ${CMAKE_STRIP} $<TARGET_FILE_DIR:Mivtra> ${MIVTRA_DIST_ZIP}
    COMMENT "Packing ${MIVTRA_DIST_ZIP}"
    VERBATIM)
add_dependencies(dist Mivtra HOOK mivtra_help)
