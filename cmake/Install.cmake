# Installing (cmake --install) and the Debian package (cpack -G DEB):
#   bin/                       cardwright-cli, and the editor and the player once they are built
#   lib/cardwright/            the picture module (libvips), loaded on the first picture
#   share/cardwright/          the data root: fonts, Ruffle, backgrounds, buttons, music, themes, samples
#   share/applications, share/mime/packages, share/icons/hicolor, share/metainfo, share/man/man1
# The programs find the data root as <exe>/../share/cardwright, so an install can be moved as a whole.
include(GNUInstallDirs)

set(CW_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(CW_PROGRAMS cardwright-cli)
foreach(program cardwright cardwright-player)
    if(TARGET ${program})
        list(APPEND CW_PROGRAMS ${program})
    endif()
endforeach()

install(TARGETS ${CW_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS cw_imaging_module LIBRARY DESTINATION ${CW_IMAGING_MODULE_INSTALL_DIR})
# The build tree's data root, with the generated fonts and samples and the pinned Ruffle.
install(DIRECTORY ${CW_BUILD_DATA_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/cardwright
        USE_SOURCE_PERMISSIONS)

# Desktop integration. The project file type and the icon always; a menu entry per desktop program.
install(FILES ${CW_PACKAGING_DIR}/cardwright-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME cardwright.xml)
if(TARGET cardwright)
    install(FILES ${CW_PACKAGING_DIR}/cardwright.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CW_PACKAGING_DIR}/example.cardwright.Cardwright.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
if(TARGET cardwright-player)
    install(FILES ${CW_PACKAGING_DIR}/cardwright-player.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()

# The icon: the hand-drawn SVG, and PNGs of the usual sizes rendered from it at build time.
set(CW_ICON_SIZES 16 24 32 48 64 128 256)
find_program(CW_RSVG rsvg-convert)
find_program(CW_MAGICK convert)
set(icon_pngs)
foreach(size ${CW_ICON_SIZES})
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/cardwright.png)
    if(CW_RSVG)
        set(render ${CW_RSVG} -w ${size} -h ${size} -o ${png} ${CW_PACKAGING_DIR}/cardwright.svg)
    elseif(CW_MAGICK)
        set(render ${CW_MAGICK} -background none -density 384 ${CW_PACKAGING_DIR}/cardwright.svg
                   -resize ${size}x${size} ${png})
    else()
        message(FATAL_ERROR "rsvg-convert (librsvg2-bin) or ImageMagick is needed to render the icon")
    endif()
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
        COMMAND ${render}
        DEPENDS ${CW_PACKAGING_DIR}/cardwright.svg
        COMMENT "Rendering the ${size}x${size} icon")
    list(APPEND icon_pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(cw_icons ALL DEPENDS ${icon_pngs})
install(FILES ${CW_PACKAGING_DIR}/cardwright.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Man pages, from each program's --help (packaging/make-man.sh, help2man).
find_program(CW_HELP2MAN help2man)
if(CW_HELP2MAN AND NOT CW_SANITIZE) # the sanitizer build installs nothing
    set(man_pages)
    foreach(program ${CW_PROGRAMS})
        set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
        add_custom_command(OUTPUT ${page}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
            COMMAND ${CMAKE_COMMAND} -E env QTWEBENGINE_DISABLE_SANDBOX=1
                    bash ${CW_PACKAGING_DIR}/make-man.sh $<TARGET_FILE:${program}> ${PROJECT_VERSION} ${page}
            DEPENDS ${program} ${CW_PACKAGING_DIR}/make-man.sh
            COMMENT "Writing the man page of ${program}")
        list(APPEND man_pages ${page})
    endforeach()
    add_custom_target(cw_man ALL DEPENDS ${man_pages})
    install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(NOT CW_SANITIZE)
    message(WARNING "help2man not found: no man pages (scripts/setup.sh installs it)")
endif()

# The Debian package: cpack -G DEB in the build tree gives cardwright_<version>_<arch>.deb. Its
# dependencies come from the linked libraries (dpkg-shlibdeps, from dpkg-dev), the picture module's
# included; the metafile coder is only recommended, as without it only WMF pictures are refused.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cardwright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Cardwright developers")
set(CPACK_PACKAGE_CONTACT "The Cardwright developers <support@cardwright.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "authoring tool for interactive greeting e-gifts")
set(CPACK_PACKAGE_DESCRIPTION
    "Cardwright turns a project of cards (titles, comments, backgrounds, link buttons) into one Flash\n\
movie that plays in Ruffle, the player that comes with it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libmagickcore-6.q16-6-extra, xdg-utils")
include(CPack)
