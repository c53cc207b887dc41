# The release: Mivtra.exe and HOOK.DLL linked without symbols or debug sections (the static
# runtime libraries bring debug information of their own), and the target "dist" that packs
# them with the help and the readme into dist/mivtraNNN.zip (2.02 -> mivtra202.zip).

foreach(shipped Mivtra HOOK)
    target_link_options(${shipped} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-s>)
endforeach()

string(REPLACE "." "" versionDigits ${PROJECT_VERSION})
set(MIVTRA_DIST_ZIP ${PROJECT_SOURCE_DIR}/dist/mivtra${versionDigits}.zip)
add_custom_target(dist
    COMMAND ${Python3_EXECUTABLE} -B ${PROJECT_SOURCE_DIR}/scripts/dist.py
        $<TARGET_FILE_DIR:Mivtra> ${MIVTRA_DIST_ZIP}
    COMMENT "Packing ${MIVTRA_DIST_ZIP}"
    VERBATIM)
add_dependencies(dist Mivtra HOOK mivtra_help)
