# The Debian package: `make deb` (cpack -G DEB in the build folder) packs what `cmake --install`
# puts under /usr. The shared libraries the programs link are turned into dependencies by
# dpkg-shlibdeps; only what is loaded at run time without being linked is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelko)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Tinkmoss <pelko@tinkmoss.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "disc catalog manager: browse and search discs that are not inserted")
set(CPACK_PACKAGE_DESCRIPTION
    "Pelko records the whole tree of folders and files of a CD or DVD, a disc image, a partition or a folder in a catalog on the local disk: names, sizes, times, memos, the listings of ZIP and RAR archives, MP3 tag texts, program icons and picture thumbnails. Later it browses any disc that is not inserted, searches the whole catalog, edits names and memos, and exports text or linked HTML pages. The interface is Chinese. The package holds the desktop program pelko and the command line pelko-cli.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://pelko.tinkmoss.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by Qt at run time, not linked: the X11 platform plugin, the SVG icon reader, a font
# with Chinese glyphs, and file-type pictures for the list.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, fonts-noto-cjk | fonts-wqy-microhei | fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, adwaita-icon-theme, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
