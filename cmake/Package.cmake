# The Debian package (scripts/package): the program, its menu entry, icon and
# AppStream data. Library dependencies are found by dpkg-shlibdeps.
include(GNUInstallDirs)
install(TARGETS joinclip RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME joinclip)
set(CPACK_PACKAGE_VENDOR "JoinClip")
set(CPACK_PACKAGE_CONTACT "JoinClip developers <joinclip@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://joinclip.example.org/")
set(CPACK_PACKAGE_INSTALL_DIRECTORY JoinClip)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Besides the linked libraries: libavfilter is loaded when first needed, and
# Qt's platform plugins (the X11 and Wayland windows) are a package of their own.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libavfilter8, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Joins movie, picture and sound files into one movie
 JoinClip gathers files into an ordered list, lets you arrange and title
 them, and joins them into one movie: losslessly when the sources allow it,
 with a chapter track made from the titles. It has a desktop window and a
 headless joinclip command.")
include(CPack)
