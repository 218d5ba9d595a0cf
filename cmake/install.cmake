# What `cmake --install` puts where, and the Debian package cpack makes of it.
#
# The program looks for its data files beside itself and then in
# ../share/halvorn, so the executables go to bin/ and the data files to
# share/halvorn/ whatever GNUInstallDirs would choose.

set(HALVORN_APP_ID "org.example.halvorn")
# The date of the release named by the project version.
set(HALVORN_RELEASE_DATE "2026-12-08")

install(TARGETS halvorn halvorn-cli RUNTIME DESTINATION bin)

# Halvorn.ini holds the default display preferences; an installed program
# reads it until the user saves preferences of their own (in the user's
# configuration folder, as the installed folder cannot be written).
install(FILES
    ${CMAKE_SOURCE_DIR}/data/Demo.sp
    ${CMAKE_SOURCE_DIR}/data/Halvorn.ini
    ${CMAKE_SOURCE_DIR}/data/PEFileHeader.rtf
    ${CMAKE_SOURCE_DIR}/data/HeaderTitle.rtf
    DESTINATION share/halvorn)

install(FILES ${CMAKE_SOURCE_DIR}/data/halvorn.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/halvorn.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/data/halvorn-mime.xml
    DESTINATION share/mime/packages RENAME halvorn.xml)

configure_file(${CMAKE_SOURCE_DIR}/data/halvorn.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/${HALVORN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${HALVORN_APP_ID}.metainfo.xml DESTINATION share/metainfo)

# `cpack` (or `cpack -G DEB`) in the build folder: a Debian package installing
# under /usr. The library dependencies come from dpkg-shlibdeps (dpkg-dev); the
# fonts the figure asks for ("Arial", "Symbol") are recommended.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "halvorn")
set(CPACK_PACKAGE_VENDOR "Halvorn developers")
set(CPACK_PACKAGE_CONTACT "Halvorn developers <halvorn@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for infrared absorption spectra")
# The long description as Debian shows it: lines of at most 72 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Halvorn opens one infrared spectrum at a time (a binary *.sp file, a"
    "JCAMP-DX file or a two-column *.prn table) and draws it with wavenumber"
    "or wavelength scales and a transmittance or absorbance grid. Peaks can"
    "be marked, the data copied or saved as text and the figure saved as"
    "SVG, PDF, PNG or EMF."
    "."
    "The companion program halvorn-cli reads, exports and draws the same"
    "files without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-urw-base35")
include(CPack)
