# What `cmake --install` puts where: the program, its desktop entry, the MIME type of layout
# files, the icon, the AppStream metadata, the manual page, and under share/perlinex the help
# pages and data files. The program reads none of these: it carries its own copies as
# resources, so it runs wherever it is installed, and the installed copies are for people
# and for other programs to read.

include(GNUInstallDirs)

install(TARGETS perlinex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PERLINEX_DATA_DIR}/perlinex.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PERLINEX_DATA_DIR}/perlinex.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PERLINEX_DATA_DIR}/icons/perlinex.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The release the metadata names is the project's version, dated where the version is set.
set(PERLINEX_METAINFO ${CMAKE_BINARY_DIR}/org.perlinex.Perlinex.metainfo.xml)
configure_file(${PERLINEX_DATA_DIR}/org.perlinex.Perlinex.metainfo.xml.in ${PERLINEX_METAINFO}
               @ONLY)
install(FILES ${PERLINEX_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages are installed compressed, as Debian keeps them; -n leaves the time out, so the
# same page always makes the same file.
set(PERLINEX_MANPAGE ${CMAKE_BINARY_DIR}/perlinex.1.gz)
add_custom_command(OUTPUT ${PERLINEX_MANPAGE}
                   COMMAND gzip -9nc ${PERLINEX_DATA_DIR}/perlinex.1 > ${PERLINEX_MANPAGE}
                   DEPENDS ${PERLINEX_DATA_DIR}/perlinex.1
                   COMMENT "Compressing the manual page")
add_custom_target(perlinex_manpage ALL DEPENDS ${PERLINEX_MANPAGE})
install(FILES ${PERLINEX_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(DIRECTORY ${PERLINEX_DATA_DIR}/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/perlinex/help)
install(FILES ${PERLINEX_DATA_DIR}/rptspec.tsv DESTINATION ${CMAKE_INSTALL_DATADIR}/perlinex)
install(DIRECTORY ${PERLINEX_DATA_DIR}/vocabulary DESTINATION ${CMAKE_INSTALL_DATADIR}/perlinex)
