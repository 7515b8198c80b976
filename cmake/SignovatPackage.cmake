# The Debian package: "cpack -G DEB" in a build tree writes
# signovat_<version>_amd64.deb from the install rules. Its library
# dependencies come from dpkg-shlibdeps; the Qt platform plugin and the font
# are loaded at run time, so they are named here. The desktop, MIME and icon
# caches are refreshed by the file triggers of the packages that own them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME signovat)
set(CPACK_PACKAGE_VENDOR Signovat)
set(CPACK_PACKAGE_CONTACT "Signovat <service@signovat.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "pdf-viewer")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://signovat.org/")
# The first line is the synopsis; each further line of the long description
# starts with a blank, and " ." is an empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Signalzeitpläne von Lichtsignalanlagen / traffic signal timing charts
 Signovat ist das Werkzeug der Servicetechniker von Lichtsignalanlagen. Es
 lädt die Versorgungsdaten einer Anlage, zeigt und druckt die Sollpläne ihrer
 Signalprogramme und zeichnet auf, was ein laufendes Steuergerät über seine
 Druckerschnittstelle ausgibt (Ist-Druck); aufgezeichnete Abläufe werden als
 .DRI-Dateien gespeichert und mit dem Sollplan verglichen. Mit deutschem
 Handbuch, Beispielanlage und einem Steuergeräte-Emulator zum Prüfen von
 Kabeln.
 .
 Signovat is the tool of the people who service traffic-light installations.
 It loads an installation's programming, shows and prints the target plans of
 its signal programs and records what a running controller prints on its
 printer port; recorded runs are saved as .DRI files and compared with the
 plan. The user interface and the manual are German.")
include(CPack)
