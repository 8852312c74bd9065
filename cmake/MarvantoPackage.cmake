# The Debian package: `cpack -G DEB` in the build folder (scripts/package)
# makes marvanto_<version>_amd64.deb from the program's install, without the
# driver. dpkg-shlibdeps finds the libraries the program and its web browser
# module link; the ones it cannot see are named here: the spreadsheet writer,
# loaded on first export, Qt's platform plugins, a font with Chinese
# characters (without it every character of the interface is a box) and the
# web engine's exact version.
set(CPACK_PACKAGE_NAME marvanto)
set(CPACK_PACKAGE_VENDOR "Marvanto")
set(CPACK_PACKAGE_CONTACT "Marvanto <marvanto@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Record keeping for a small shop")
set(CPACK_PACKAGE_DESCRIPTION
  "Sales, purchases, memos, a diary, remittances, staff leave, salary payments, customer contacts and electricity bills of a small shop, with period totals, a monthly trend, export and backups. Chinese interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The web browser module starts the engine through a function outside its
# public interface, which holds for the engine version it was built with.
find_package(Qt6 REQUIRED COMPONENTS WebEngineCore)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libxlsxwriter4, qt6-qpa-plugins, fonts-wqy-microhei | fonts-noto-cjk, qt6-webengine-abi (= ${Qt6WebEngineCore_VERSION})")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-calc, libreoffice-writer")
# Only the program's own components: the driver stays out.
set(CPACK_COMPONENTS_ALL Unspecified)
set(CPACK_DEB_COMPONENT_INSTALL OFF)
include(CPack)
