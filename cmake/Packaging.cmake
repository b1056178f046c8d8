# The Debian package, made by CPack from an ordinary build:
#   cmake --build build/release --target package
# Runtime dependencies come from the binaries (dpkg-shlibdeps). No maintainer scripts: dpkg's
# triggers from desktop-file-utils, shared-mime-info and hicolor-icon-theme already refresh the
# desktop, MIME and icon caches when files land in their folders, and man-db's trigger the
# manual page index.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zandreleditor)
set(CPACK_PACKAGE_VENDOR zandrel)
set(CPACK_PACKAGE_CONTACT "zandrel maintainers <maintainers@zandrel.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D level editor for zandrel game maps (.zdm)")
# The synopsis line is the summary above; CPack indents these lines under it and turns an
# empty line into " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "zandrelEditor edits the terrain maps of a 3D game: up to 50 by 50 cells,
each with five heights, tile and wall textures, a goal flag, gravity and
friction, plus a start cell and four enemies. Each map opens in a window with
an attribute panel and an OpenGL 3D view, where blocks of cells are selected,
shaped with terrain tools, copied between maps and undone.

The package also holds zdmtool, which creates, checks, summarises and
scripts the same maps from the command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Where the dependencies of a menu entry, a file type and an icon live; suggested, not
# required, so a server with only zdmtool needs no desktop.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "desktop-file-utils, shared-mime-info, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
