# `cmake --install build --prefix PREFIX` lays Plyforge out as a Linux desktop
# application; `cpack -G DEB` in the build folder packs the same tree into a .deb.
include(GNUInstallDirs)

install(TARGETS plyforge-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program looks for its files in ../share/plyforge beside its bin folder.
set(PLYFORGE_DATA_DIR ${CMAKE_INSTALL_DATAROOTDIR}/plyforge)
install(DIRECTORY examples/ DESTINATION ${PLYFORGE_DATA_DIR}/examples)

if(PLYFORGE_BUILD_GUI)
  install(TARGETS plyforge RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES html/Theory.html DESTINATION ${PLYFORGE_DATA_DIR}/html)
  install(FILES res/Splash.bmp DESTINATION ${PLYFORGE_DATA_DIR})
  # The desktop entry, the icons and the project file type, for menus and file managers.
  install(FILES res/linux/plyforge.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
  install(FILES res/linux/plyforge-mime.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages
          RENAME plyforge.xml)
  foreach(size 48 256)
    install(FILES res/linux/plyforge-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps RENAME plyforge.png)
  endforeach()
  install(FILES res/linux/plyforge.svg DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
endif()

set(CPACK_PACKAGE_NAME plyforge)
set(CPACK_PACKAGE_VENDOR "Plyforge")
set(CPACK_PACKAGE_CONTACT "Plyforge developers <plyforge@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Composite ply and laminate properties, from theory and from tensile tests")
set(CPACK_PACKAGE_DESCRIPTION
  "Plyforge computes the elastic properties of fibre-reinforced plies and laminates\n"
  "(rule of mixtures, Halpin-Tsai, rotated stiffness, homogenized laminate and an\n"
  "ABAQUS material card) and evaluates tensile tests (load, strength, strain and\n"
  "chord modulus). A desktop program and a command-line calculator.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries come from the binaries (dpkg-shlibdeps). Qt loads its platform
# plugins at run time, where no linker can see them, so that package is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(PLYFORGE_BUILD_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  # The Korean messages need a CJK font.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
endif()
include(CPack)
