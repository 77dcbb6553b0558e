# Installing and the Debian package (scripts/package.sh): the program, its help, the sample
# problems drawn at build time, a menu entry and the icon. Everything but the program lies in
# share/queldo, which is also how the program knows it was installed (its folder is then no place
# for Images and Result).
include(GNUInstallDirs)

# Installing needs the program and the samples only, not the tests and benchmarks of `all`;
# scripts/package.sh builds the two targets first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(queldo_share ${CMAKE_INSTALL_DATADIR}/queldo)
set(sample_folder ${PROJECT_BINARY_DIR}/samples)
# Drawn afresh whenever the generator changes; a stamp, because the generator writes a whole tree.
add_custom_command(
    OUTPUT ${sample_folder}/drawn
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${sample_folder}/Images
    COMMAND queldo_samplegen --out ${sample_folder}/Images
    COMMAND ${CMAKE_COMMAND} -E touch ${sample_folder}/drawn
    DEPENDS queldo_samplegen
    COMMENT "Drawing the sample problems to install")
add_custom_target(sample_problems DEPENDS ${sample_folder}/drawn)

install(TARGETS queldo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION ${queldo_share})
install(DIRECTORY ${sample_folder}/Images DESTINATION ${queldo_share})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/queldo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/queldo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/queldo-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME queldo.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME queldo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "QUELDO")
set(CPACK_PACKAGE_CONTACT "QUELDO developers <queldo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chromosome analysis trainer (染色体解析技術トレーニングソフト)")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A desktop trainer in which a cytogenetics trainee sorts the 46 chromosome pictures of one "
    "cell into a karyogram against a clock, scores it, corrects it and follows their grades.\n"
    "Ten drawn sample problems are included.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries it links are found by dpkg-shlibdeps; what it loads at run time or only names
# is listed: the X11 platform plugin, the fonts its windows are laid out for, the Japanese texts
# of the toolkit's own dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n")
# The help opens in the desktop's browser when there is one, else in a window of the program.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
