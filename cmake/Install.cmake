# Installs the program as a desktop application under the prefix, and packs that installation
# as a Debian package with CPack (`cpack -G DEB` in the build folder):
#
#   bin/dorvane-quillon, bin/quillon-db
#   share/dorvane-quillon/                      the shipped Application folder, read-only: the
#                                               catalogue, the empty User database template,
#                                               the order form templates, texts, icons, images/
#   share/applications/dorvane-quillon.desktop
#   share/icons/hicolor/<n>x<n>/apps/dorvane-quillon.png
#   share/metainfo/com.dorvane.quillon.metainfo.xml
#   share/doc/dorvane-quillon/                  the README, the copyright file, the Debian
#                                               changelog, and docs/ (the guides and their
#                                               pictures)
#   share/man/man1/                             the manual pages of the program and the tool
#
# The program finds share/dorvane-quillon/ beside its bin/ folder and makes each user's own
# Application folder from it at the first start.

if(NOT TARGET dorvane-quillon OR NOT TARGET quillon-db OR NOT TARGET app_folder)
    return()
endif()

include(GNUInstallDirs)
# Installing and packing take what is built (the program, the tool and the Application folder)
# and build nothing more: no tests or benchmarks for a package.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS dorvane-quillon quillon-db RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The shipped folder, from the build's Application folder: only what ships, never what a run of
# the program from there wrote (user.mdb, userdatabackup.mdb, printOrder.html).
set(quillon_installed_folder ${CMAKE_INSTALL_DATADIR}/dorvane-quillon)
install(FILES ${QUILLON_APP_DIR}/parts.mdb ${QUILLON_APP_DIR}/systemuserDB.dat
        DESTINATION ${quillon_installed_folder})
file(GLOB quillon_shipped_files CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/data
     ${CMAKE_SOURCE_DIR}/data/*)
foreach(file IN LISTS quillon_shipped_files)
    if(NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/data/${file})
        install(FILES ${QUILLON_APP_DIR}/${file} DESTINATION ${quillon_installed_folder})
    endif()
endforeach()
install(DIRECTORY ${QUILLON_APP_DIR}/images DESTINATION ${quillon_installed_folder})

# The desktop's view of it.
set(quillon_packaging ${CMAKE_SOURCE_DIR}/packaging)
install(FILES ${quillon_packaging}/dorvane-quillon.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${quillon_packaging}/com.dorvane.quillon.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${quillon_packaging}/icons/dorvane-quillon-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME dorvane-quillon.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/README.md
              ${quillon_packaging}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/dorvane-quillon)
# The guides the README points to, beside it as in the tree, so that its links lead somewhere.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/dorvane-quillon/docs
        FILES_MATCHING PATTERN "*.md" PATTERN "*.png")

set(QUILLON_PACKAGE_MAINTAINER "Dorvane PLC <support@dorvane.example>"
    CACHE STRING "The Maintainer of the Debian package: name and e-mail address")

# The manual pages and the changelog carry the version and the maintainer, and ship compressed as
# Debian wants them: gzip -9n, without the name and time of the file, so the same sources always
# give the same package. A change to a source file configures again, which compresses it again.
find_program(QUILLON_GZIP gzip REQUIRED)
set(quillon_docs ${CMAKE_CURRENT_BINARY_DIR}/package-docs)
set(quillon_docs_sources man/dorvane-quillon.1 man/quillon-db.1 changelog)
foreach(source IN LISTS quillon_docs_sources)
    get_filename_component(name ${source} NAME)
    configure_file(${quillon_packaging}/${source}.in ${quillon_docs}/${name} @ONLY)
    execute_process(COMMAND ${QUILLON_GZIP} -9 -n -c ${quillon_docs}/${name}
                    OUTPUT_FILE ${quillon_docs}/${name}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${quillon_docs}/dorvane-quillon.1.gz ${quillon_docs}/quillon-db.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# A native package (no Debian revision in its version): its changelog is changelog.gz, not
# changelog.Debian.gz, which lintian takes for the changelog of a separate upstream.
install(FILES ${quillon_docs}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/dorvane-quillon)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dorvane-quillon)
set(CPACK_PACKAGE_VENDOR "Dorvane PLC")
set(CPACK_PACKAGE_CONTACT "${QUILLON_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "parts catalogue browser and order writer for Dorvane's trade customers")
# The extended description only: CPack puts the summary above it as the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Dorvane Quillon looks parts up in Dorvane's Land Rover parts catalogue
by part number or by keyword and vehicle, shows each part with its
prices, units, vehicles and pictures, keeps the customer's own prices,
collects parts into an order and prints an order form.
.
The catalogue is installed read-only in /usr/share/dorvane-quillon; each
user's prices and orders live in ~/.local/share/dorvane-quillon. The
package also holds quillon-db, the tool that updates the catalogue from
a price file and restores a user's data from a backup.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLON_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
# The run-time libraries, worked out by dpkg-shlibdeps from the programs themselves: Qt 6 Core,
# Gui (which on Debian also holds the JPEG and GIF image plugins and the X11 platform plugin),
# Widgets, SQLite and the C++ run-time. Without dpkg-shlibdeps, the same list by hand.
find_program(QUILLON_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QUILLON_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libc6, libgcc-s1, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6network6 (>= 6.4), libqt6printsupport6 (>= 6.4), libsqlite3-0, xdg-utils")
endif()
# Opening the Order form in the desktop's web browser goes through xdg-open, and e-mailing an
# order through xdg-email: xdg-utils is a dependency (above). Print Support comes with Qt.
include(CPack)
