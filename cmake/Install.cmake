# Installation and the Debian package: `cmake --install build --prefix /usr` (any prefix), or
# `cpack -G DEB` in build/. Everything beside the executable goes below <prefix>/share, where
# the program looks for it relative to its own directory (../share/zelvanor-ymt), so the
# prefix is not compiled in.
include(GNUInstallDirs)

set(YMT_DATA_DEST ${CMAKE_INSTALL_DATADIR}/zelvanor-ymt)
set(YMT_DOC_DEST ${CMAKE_INSTALL_DATADIR}/doc/zelvanor-ymt)

install(TARGETS zelvanor-ymt zelvanor-ymt-simserver RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Commented through and through: it documents the adapters but changes nothing until copied.
install(FILES dist/sicl.conf.example DESTINATION ${YMT_DATA_DEST})
# A recording of the simulated sample model, for demonstrations of "sample = file PATH".
install(FILES dist/recorded-sample.csv DESTINATION ${YMT_DATA_DEST})
install(FILES dist/zelvanor-ymt.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES dist/io.github.zelvanor.ymt.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES dist/zelvanor-ymt.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES docs/guide.md DESTINATION ${YMT_DOC_DEST})
install(DIRECTORY docs/pictures/ DESTINATION ${YMT_DOC_DEST}/pictures OPTIONAL)

# The 256 px icon is rendered from the SVG, so the two never differ.
add_executable(ymt_render_icon dist/RenderIcon.cpp)
target_link_libraries(ymt_render_icon PRIVATE Qt6::Gui Qt6::Svg)
set(YMT_ICON_PNG ${CMAKE_BINARY_DIR}/icons/zelvanor-ymt.png)
add_custom_command(OUTPUT ${YMT_ICON_PNG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:ymt_render_icon>
          ${CMAKE_SOURCE_DIR}/dist/zelvanor-ymt.svg 256 ${YMT_ICON_PNG}
  DEPENDS ymt_render_icon ${CMAKE_SOURCE_DIR}/dist/zelvanor-ymt.svg)

# The man page is written from --help at build time.
set(YMT_MAN_PAGE ${CMAKE_BINARY_DIR}/man/zelvanor-ymt.1)
add_custom_command(OUTPUT ${YMT_MAN_PAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
  COMMAND ${CMAKE_COMMAND} -DEXECUTABLE=$<TARGET_FILE:zelvanor-ymt>
          -DVERSION=${PROJECT_VERSION} -DOUTPUT=${YMT_MAN_PAGE}
          -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
  DEPENDS zelvanor-ymt ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake)
add_custom_target(ymt_install_files ALL DEPENDS ${YMT_ICON_PNG} ${YMT_MAN_PAGE})
install(FILES ${YMT_ICON_PNG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${YMT_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. Its dependencies come from dpkg-shlibdeps on the installed executables.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvanor-ymt)
set(CPACK_PACKAGE_VENDOR "Zelvanor Ymt developers")
set(CPACK_PACKAGE_CONTACT "Zelvanor Ymt developers <maintainers@users.noreply.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Impedance spectroscopy of piezoelectric samples")
set(CPACK_PACKAGE_DESCRIPTION
    "Measures impedance spectra of piezoelectric samples on an HP 4194A or HP 4294A analyzer
(or a simulated one), finds resonances and computes coupling factors, capacitance,
permittivity and loss tangent.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt needs a platform plugin, the fonts the plot is laid out for and its own translations (the
# German buttons and dialogs); dpkg-shlibdeps cannot see them, since all are loaded at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)

# Tests of the installed files: a fresh prefix (fast; it runs the validators of the desktop entry
# and the metainfo) and the package (slow: label "slow", skipped by `ctest -LE slow`).
add_test(NAME Install.PrefixHoldsTheProgramAndItsFiles
         COMMAND ${CMAKE_SOURCE_DIR}/tests/install/check-install.sh ${CMAKE_BINARY_DIR}
                 ${CMAKE_SOURCE_DIR})
add_test(NAME Install.PackageHoldsTheProgramAndItsFiles
         COMMAND ${CMAKE_SOURCE_DIR}/tests/install/check-package.sh ${CMAKE_BINARY_DIR}
                 ${CMAKE_SOURCE_DIR})
set_tests_properties(Install.PackageHoldsTheProgramAndItsFiles PROPERTIES LABELS slow TIMEOUT 900)

# F1 in a program run from its build folder opens the guide of the source tree.
set_source_files_properties(${CMAKE_SOURCE_DIR}/app/MainWindowGuide.cpp PROPERTIES
  COMPILE_DEFINITIONS YMT_SOURCE_GUIDE="${CMAKE_SOURCE_DIR}/docs/guide.md")
