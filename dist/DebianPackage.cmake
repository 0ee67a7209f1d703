# The Debian package kultbuh_<version>-1_<arch>.deb (scripts/package.sh makes
# it). The shared libraries it needs come from dpkg-shlibdeps; only what the
# program needs without linking it is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kultbuh)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "kultbuh")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "accountant's information system of a culture department")
# One string (the pieces must not become a CMake list), in lines of the
# width Debian's tools show.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Keeps the employees, positions, salary rates, bonuses and days worked\n"
       "of a culture department in one database file, computes the monthly\n"
       "salary statement, searches employees by name or position, and copies\n"
       "any result into a spreadsheet or prints it. All texts are Russian.\n"
       "The desktop entry runs kultbuh-launcher, which prepares the database in\n"
       "~/kultbuh, keeps its daily backups and starts the program there.\n"
       "The tool kultbuh-db makes, checks and queries database files. The SQLite\n"
       "extension libkultbuh_sqlite.so gives the sqlite3 shell and database\n"
       "browsers the program's collation and functions.")

set(CPACK_DEBIAN_PACKAGE_NAME kultbuh)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "kultbuh maintainers <maintainers@kultbuh.ru>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialog and button texts in Russian (qtbase_ru.qm, loaded at start).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# Tahoma, the windows' font; without it the program takes DejaVu Sans or the like.
# DejaVu Sans, the printed documents' font (Cyrillic, and figures of equal width).
# xdg-open and xdg-mime open the exported workbook and the pay slip in the
# desktop's programs; without them the program says where the file is.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, fonts-dejavu-core, xdg-utils")
# The shell the SQLite extension is loaded into.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "sqlite3")

include(CPack)
