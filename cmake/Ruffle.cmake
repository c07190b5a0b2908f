# The pinned Ruffle player (third_party/ruffle/package-lock.json) is installed from the npm registry into
# the build tree and copied into the data root as Ruffle/, where the editor's preview, the stand-alone
# player and the self-running gift find it. It is never committed.
find_program(CW_NPM npm REQUIRED)
set(CW_RUFFLE_NPM_DIR ${CMAKE_BINARY_DIR}/ruffle-npm)
set(CW_RUFFLE_DIR ${CW_BUILD_DATA_DIR}/Ruffle)
set(CW_RUFFLE_STAMP ${CW_RUFFLE_NPM_DIR}/installed.stamp)
add_custom_command(OUTPUT ${CW_RUFFLE_STAMP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CW_RUFFLE_NPM_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/third_party/ruffle/package.json
            ${PROJECT_SOURCE_DIR}/third_party/ruffle/package-lock.json ${CW_RUFFLE_NPM_DIR}
    COMMAND ${CW_NPM} ci --no-audit --no-fund --silent --prefix ${CW_RUFFLE_NPM_DIR}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CW_RUFFLE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CW_RUFFLE_NPM_DIR}/node_modules/@ruffle-rs/ruffle ${CW_RUFFLE_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${CW_RUFFLE_STAMP}
    DEPENDS ${PROJECT_SOURCE_DIR}/third_party/ruffle/package-lock.json
    COMMENT "Installing the pinned Ruffle player into the build tree")
add_custom_target(cw_ruffle ALL DEPENDS ${CW_RUFFLE_STAMP})
# Copying data/ must not run while Ruffle/ is being replaced.
add_dependencies(cw_ruffle cw_data)
