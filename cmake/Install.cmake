# Installs the program as a desktop program: the executable, the bundled profiles, the help
# page, a desktop entry with an icon and the G-code and DXF file associations. The program
# seeds its profiles and help into a writable folder of its own at the first start, so the
# installed files may lie where the user cannot write.
include(GNUInstallDirs)
install(TARGETS kerfwerk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${BUNDLED_PROFILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/kerfwerk/profiles)
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kerfwerk/examples)
install(FILES ${BUNDLED_HELP} README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES packaging/kerfwerk.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/kerfwerk.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/kerfwerk.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES packaging/kerfwerk-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME kerfwerk.xml)

# cpack -G DEB: a Debian package whose dependencies are found from the linked libraries;
# the Qt platform plugins are a plugin, not a linked library, so they are named here.
set(CPACK_PACKAGE_NAME kerfwerk)
set(CPACK_PACKAGE_VENDOR "Kerfwerk")
set(CPACK_PACKAGE_CONTACT "Kerfwerk developers <kerfwerk@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "G-code editor, backplot and DXF converter for CNC cutting machines")
set(CPACK_PACKAGE_DESCRIPTION
    "Opens G-code programs and DXF drawings, draws the tool path in 3-D, edits it by hand or with tools, converts drawings into the dialect of a machine profile and runs headless for batch conversion.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kerfwerk)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
