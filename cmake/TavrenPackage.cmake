# The Debian package (scripts/package.sh): whatever `cmake --install` installs,
# under /usr, with its dependencies computed by dpkg-shlibdeps from the
# libraries the programs link, so they follow Debian's library packages.
set(TAVREN_MAINTAINER "Tavren developers <maintainers@tavren.invalid>"
    CACHE STRING "The Debian package's maintainer")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavren)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TAVREN_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "one-click order board that types orders into a chat window")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavren shows up to 81 order buttons whose captions and colours come from a\n"
    "plain text order file. Pressing a button, or a numeric keypad digit while\n"
    "another program has the focus, types the caption and Enter into a window\n"
    "picked from the open windows, such as an IRC client or a game client. It\n"
    "also changes the IRC nick with one click through the session bus.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # tavren_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TAVREN_HOMEPAGE})
# Not a library, so not found by shlibdeps: captions are mostly Japanese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-noto-cjk)
# Needed only by the irssi script (share/irssi/scripts/tavren.pl), and only by
# those who use irssi.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS libnet-dbus-perl)

include(CPack)
