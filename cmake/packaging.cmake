# One .deb from the Linux install rules: `cpack -G DEB` in the build folder.
# Dependencies come from the binary (dpkg-shlibdeps) rather than a hand list,
# so they follow whatever the build actually linked.
include_guard(GLOBAL)

set(QV_PACKAGE_MAINTAINER "Quorvelian Developers <packaging@quorvelian.invalid>"
    CACHE STRING "Maintainer field of the .deb")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvelian)
set(CPACK_PACKAGE_VENDOR "The Quorvelian Developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screen saver of three turning flowers drawn with OpenGL")
# The extended description; CPack indents it and marks the empty line.
set(CPACK_PACKAGE_DESCRIPTION
    "Three flowers built from parametric surfaces turn slowly under two lights;
each fades in, lives for about three hundred frames, fades out and is
replaced by one of twelve kinds.

The program runs full screen, opens its own settings window, and is an
XScreenSaver module whose speed, brightness, mesh density, size, drawing
primitive and colour are set in xscreensaver-settings.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QV_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The module is useful without the daemon (desktop modes), so suggest it.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# Control files with the modes policy asks for (lintian checks them).
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
