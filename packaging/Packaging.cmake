# Installation into the usual places under the prefix, and a Debian package made by CPack.
include(GNUInstallDirs)
# The documentation folder is named after the package, in lower case.
set(QF_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quillform)

find_program(QF_GZIP gzip REQUIRED)
set(QF_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(QF_GENERATED ${CMAKE_BINARY_DIR}/packaging)

# Icons of the sizes an icon theme wants, drawn from the one SVG.
add_executable(render_icon ${QF_PACKAGING}/render_icon.cpp)
target_link_libraries(render_icon PRIVATE Qt6::Gui Qt6::Svg)
set(QF_ICON_SIZES 16 24 32 48 64 128 256)
set(QF_ICON_PNGS)
foreach(size ${QF_ICON_SIZES})
  list(APPEND QF_ICON_PNGS ${QF_GENERATED}/icons/${size}x${size}/quillform.png)
endforeach()
add_custom_command(
  OUTPUT ${QF_ICON_PNGS}
  COMMAND render_icon ${QF_PACKAGING}/quillform.svg ${QF_GENERATED}/icons ${QF_ICON_SIZES}
  DEPENDS render_icon ${QF_PACKAGING}/quillform.svg
  COMMENT "Drawing the icons")

# Debian wants the manual page and the changelog compressed, reproducibly (-n: no name, no time).
add_custom_command(
  OUTPUT ${QF_GENERATED}/quillform.1.gz ${QF_GENERATED}/changelog.gz
  COMMAND ${QF_GZIP} -9n -c ${QF_PACKAGING}/quillform.1 > ${QF_GENERATED}/quillform.1.gz
  COMMAND ${QF_GZIP} -9n -c ${QF_PACKAGING}/changelog > ${QF_GENERATED}/changelog.gz
  DEPENDS ${QF_PACKAGING}/quillform.1 ${QF_PACKAGING}/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(qf_package_files ALL
                  DEPENDS ${QF_ICON_PNGS} ${QF_GENERATED}/quillform.1.gz ${QF_GENERATED}/changelog.gz)

install(TARGETS quillform RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quillform/help)
install(FILES ${CMAKE_SOURCE_DIR}/resources/qfd.ico DESTINATION ${CMAKE_INSTALL_DATADIR}/quillform)
foreach(size ${QF_ICON_SIZES})
  install(FILES ${QF_GENERATED}/icons/${size}x${size}/quillform.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${QF_PACKAGING}/quillform.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${QF_PACKAGING}/org.quillform.Quillform.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QF_PACKAGING}/quillform-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME quillform.xml)
install(FILES ${QF_PACKAGING}/org.quillform.Quillform.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QF_GENERATED}/quillform.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${QF_PACKAGING}/copyright DESTINATION ${QF_DOCDIR})
install(FILES ${QF_GENERATED}/changelog.gz DESTINATION ${QF_DOCDIR}
        RENAME changelog.gz)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillform)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quillform developers")
set(CPACK_PACKAGE_CONTACT "The Quillform developers <dev@quillform.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "layout editor for printed forms")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillform lays out a printed page (texts, lines, boxes with rounded corners or\n"
    "hatching, rings, pictures and repeat blocks, on layers), saves it as a design\n"
    "file, prints it, previews and exports it to PDF, PNG or SVG, fills it with the\n"
    "records of a CSV file, and generates Visual Basic source that prints the same\n"
    "page from an application.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quillform.org/)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-noto-cjk, qt6-translations-l10n, qt6-qpa-plugins, libqt6sql6-sqlite, libqt6sql6-psql, libqt6sql6-odbc")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
# Directories 0755, files 0644, the program 0755, as Debian wants them.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# The guide's pictures, drawn by the program itself at build time.
add_executable(guide_pictures ${QF_PACKAGING}/guide_pictures.cpp)
target_link_libraries(guide_pictures PRIVATE qf_ui Qt6::Widgets)
set(QF_GUIDE_PICTURES ${CMAKE_BINARY_DIR}/help/images/main.png
    ${CMAKE_BINARY_DIR}/help/images/merge.png ${CMAKE_BINARY_DIR}/help/images/preview.png)
add_custom_command(
  OUTPUT ${QF_GUIDE_PICTURES}
  # A program that never ends must not hold the build for ever: it takes a second.
  COMMAND timeout 120 $<TARGET_FILE:guide_pictures> ${CMAKE_SOURCE_DIR}/tests/data/invoice.qfd
          ${CMAKE_SOURCE_DIR}/tests/data/csv/invoices.csv ${CMAKE_BINARY_DIR}/help/images
  DEPENDS guide_pictures ${CMAKE_SOURCE_DIR}/tests/data/invoice.qfd
          ${CMAKE_SOURCE_DIR}/tests/data/csv/invoices.csv
  COMMENT "Drawing the guide's pictures")
add_custom_target(qf_guide_pictures ALL DEPENDS ${QF_GUIDE_PICTURES})
install(FILES ${QF_GUIDE_PICTURES} DESTINATION ${CMAKE_INSTALL_DATADIR}/quillform/help/images)
