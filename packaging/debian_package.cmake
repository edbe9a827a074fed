# The Debian package: `cpack -G DEB` in the build folder writes
# tavimor_<version>_<arch>.deb of what `cmake --install` installs under /usr,
# its dependencies computed from the programs' shared libraries
# (dpkg-shlibdeps, from dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavimor)
set(CPACK_PACKAGE_VENDOR "The Tavimor developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive analyser of VP8 video bitstreams")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tavimor.org")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tavimor developers <support@tavimor.org>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Text on the pictures asks for Times New Roman; Liberation Serif is its
# metric twin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavimor shows, for every picture and every macroblock of a VP8 stream, what \
the bitstream said and what the decoder did with it: every frame-header \
syntax element, per-macroblock modes, motion vectors and bit counts, the \
dequantised coefficients, and the pictures of each stage of decoding. It \
reads IVF streams and the VP8 tracks of WebM, Matroska, MP4, MPEG-2 TS and \
FLV files, compares with the original pictures, and comes with tavimor-cli, \
the same engine for scripts and continuous integration.")
include(CPack)
