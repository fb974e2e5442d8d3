# The installer for Windows users, made by makensis (Debian's package "nsis") from installer/
# vantor.nsi with both Windows builds' programs, and its Wine system test. Without makensis both
# are left out with a message, so that the rest builds and tests as before.
find_program(VN_MAKENSIS makensis)
if(NOT VN_MAKENSIS)
    message(STATUS "makensis not found (package nsis): the Windows installer is not built")
    return()
endif()

set(VN_WIN32_BIN ${CMAKE_BINARY_DIR}/win-i686/bin)
set(VN_INSTALLER ${CMAKE_BINARY_DIR}/vantor-setup.exe)
set(VN_NSI ${CMAKE_SOURCE_DIR}/installer/vantor.nsi)
set(VN_ICON ${CMAKE_SOURCE_DIR}/manager/resources/vantor.ico)
add_custom_command(OUTPUT ${VN_INSTALLER}
    COMMAND ${VN_MAKENSIS} -V2 -WX -DVN_WIN64=${VN_WIN64_BIN} -DVN_WIN32=${VN_WIN32_BIN}
            -DVN_ICON=${VN_ICON} -DVN_OUTFILE=${VN_INSTALLER} ${VN_NSI}
    DEPENDS ${VN_NSI} ${VN_ICON} ${VN_WIN64_BIN}/vantor.exe ${VN_WIN64_BIN}/vnhook.dll
            ${VN_WIN32_BIN}/vantor32.exe ${VN_WIN32_BIN}/vnhook32.dll
    COMMENT "Building the Windows installer vantor-setup.exe"
    VERBATIM)
add_custom_target(installer ALL DEPENDS ${VN_INSTALLER})
add_dependencies(installer win-x86_64 win-i686)

# Installs into a fresh prefix of its own, so that it neither finds the other tests' installation
# nor leaves its own to them; it still waits for the shared desktop's tests, to keep the machine's
# load off their timing.
set(VN_INSTALL_PREFIX ${CMAKE_BINARY_DIR}/wineprefix-installer)
add_test(NAME wine.vninstalltest.fresh-prefix
         COMMAND ${CMAKE_COMMAND} -E rm -rf ${VN_INSTALL_PREFIX} ${VN_INSTALL_PREFIX}.lock)
add_test(NAME wine.vninstalltest.install-uninstall
         COMMAND ${VN_WINE_RUN} ${VN_WIN64_BIN}/vninstalltest.exe install-uninstall ${VN_INSTALLER}
         WORKING_DIRECTORY ${VN_WIN64_BIN})
set_tests_properties(wine.vninstalltest.fresh-prefix PROPERTIES
    FIXTURES_SETUP vn-install-prefix LABELS wine)
set_tests_properties(wine.vninstalltest.install-uninstall PROPERTIES
    FIXTURES_REQUIRED vn-install-prefix RESOURCE_LOCK wine-desktop TIMEOUT 400 LABELS wine
    ENVIRONMENT "VN_WINEPREFIX=${VN_INSTALL_PREFIX};VN_TIMEOUT=300")
