# The Debian package: cpack -G DEB in the build folder packs what `cmake --install` installs,
# under /usr, with its dependencies worked out from the shared libraries the programs use.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrel-run)
set(CPACK_PACKAGE_VENDOR "The Kestrel Run developers")
set(CPACK_PACKAGE_CONTACT "The Kestrel Run developers <developers@kestrel-run.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "helicopter action game over voxel landscapes")
# The long description as Debian shows it: lines of at most 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Kestrel Run is a single-player 3D helicopter action game first made for a"
  "240 x 320 handheld: a voxel landscape drawn one ray per screen column,"
  "textured meshes, a stylus-style control panel and missions to destroy,"
  "protect or rescue."
  "The package holds the game with its core content pack (six missions, three"
  "helicopters and their weapons) and kestrel-pack, the tool that makes,"
  "checks and unpacks content packs.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${KESTREL_HOMEPAGE_URL})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
