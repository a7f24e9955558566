# The Debian package (scripts/package): the program, its menu entry, icon,
# AppStream data, manual page and README. Library dependencies are found by
# dpkg-shlibdeps. The project's addresses are given at configure time:
#   -DJOINCLIP_HOMEPAGE_URL=https://...   the project's page (none: no Homepage field, no Help address)
#   -DJOINCLIP_MAINTAINER="Name <mail>"   who answers for the package
include(GNUInstallDirs)
install(TARGETS joinclip RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program's module (every command but --version and info, and the window; see src/main.cpp).
install(TARGETS joinclip_program LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/joinclip)

# JOINCLIP_HOMEPAGE_URL is declared in src/app/CMakeLists.txt, where the Help menu reads it.
set(JOINCLIP_MAINTAINER "" CACHE STRING "The package's maintainer: Name <mail address>")

# The manual page, from the commands' own help, and the documents Debian asks for.
set(package_docs ${CMAKE_CURRENT_BINARY_DIR}/package-docs)
add_custom_command(OUTPUT ${package_docs}/joinclip.1.gz
    COMMAND ${CMAKE_COMMAND} -DJOINCLIP=$<TARGET_FILE:joinclip> -DVERSION=${PROJECT_VERSION}
        -DWORK=${package_docs}/home -DOUTPUT=${package_docs}/joinclip.1 -P ${PROJECT_SOURCE_DIR}/cmake/ManualPage.cmake
    COMMAND gzip -9nf ${package_docs}/joinclip.1
    DEPENDS joinclip ${PROJECT_SOURCE_DIR}/cmake/ManualPage.cmake
    COMMENT "Writing the manual page from the commands' help")
add_custom_target(joinclip_manual DEPENDS ${package_docs}/joinclip.1.gz)
install(FILES ${package_docs}/joinclip.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

string(TIMESTAMP package_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(changelog_maintainer "${JOINCLIP_MAINTAINER}")
if(NOT changelog_maintainer)
    set(changelog_maintainer "JoinClip developers <joinclip@invalid>")
endif()
file(WRITE ${package_docs}/changelog
"joinclip (${PROJECT_VERSION}) unstable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- ${changelog_maintainer}  ${package_date}
")
file(WRITE ${package_docs}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: JoinClip
Upstream-Contact: ${changelog_maintainer}

Files: *
Copyright: 2026 JoinClip developers
License: proprietary
 All rights reserved. Copying and distribution only with the written
 permission of the JoinClip developers.
")
add_custom_command(OUTPUT ${package_docs}/changelog.gz
    COMMAND gzip -9nkf ${package_docs}/changelog DEPENDS ${package_docs}/changelog)
add_custom_target(joinclip_changelog DEPENDS ${package_docs}/changelog.gz)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/joinclip)
install(FILES ${package_docs}/changelog.gz ${package_docs}/copyright ${PROJECT_SOURCE_DIR}/README.md
    DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME joinclip)
set(CPACK_PACKAGE_VENDOR "JoinClip")
set(CPACK_PACKAGE_CONTACT "${changelog_maintainer}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
if(JOINCLIP_HOMEPAGE_URL)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${JOINCLIP_HOMEPAGE_URL}")
endif()
set(CPACK_PACKAGE_INSTALL_DIRECTORY JoinClip)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Besides the linked libraries: FFmpeg's and libmpv are loaded when first
# needed (so dpkg-shlibdeps does not see them), and Qt's platform plugins (the
# X11 and Wayland windows) are a package of their own.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libavformat59, libavcodec59, libavutil57, libswscale6, libswresample4, libavfilter8, libmpv2, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# The synopsis is the summary above; this is the extended description alone.
set(CPACK_PACKAGE_DESCRIPTION "JoinClip gathers files into an ordered list, lets you arrange and title
them, and joins them into one movie: losslessly when the sources allow it,
with a chapter track made from the titles. It has a desktop window and a
headless joinclip command.")
include(CPack)
