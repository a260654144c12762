# Install rules, desktop integration and the Debian package. `scripts/package` builds the .deb.
set(ZARIDI_PACKAGE_NAME tavo-zaridi2)
set(ZARIDI_MAINTAINER "tavo_Zaridi2 maintainers <${ZARIDI_SUPPORT_MAIL}>")
# The release of PROJECT_VERSION: its date here, its notes in app.metainfo.xml.in and changelog.in.
set(ZARIDI_RELEASE_DATE 2026-12-08)
# The postcode index the build may leave beside the binary; installed when it is there.
set(ZARIDI_POSTCODE_INDEX ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/postcode.idx)
include(GNUInstallDirs)
set(pkg_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${ZARIDI_PACKAGE_NAME}) # named after the package
# The package builds only what it ships (scripts/package), not the tests and benchmarks.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(pkg_src ${CMAKE_CURRENT_LIST_DIR})
set(pkg_out ${CMAKE_BINARY_DIR}/packaging)
set(icon_sizes 16 22 24 32 48 64 128 256)

execute_process(COMMAND date -u -R -d "${ZARIDI_RELEASE_DATE}" OUTPUT_VARIABLE ZARIDI_RELEASE_DATE_RFC2822
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
# The licence text (from its first paragraph on) in the copyright file's layout: indented, a blank line
# as " .".
file(READ ${CMAKE_SOURCE_DIR}/LICENSE license)
string(FIND "${license}" "Permission is hereby granted" start)
string(SUBSTRING "${license}" ${start} -1 license)
string(STRIP "${license}" license)
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " ZARIDI_LICENSE_TEXT " ${license}")

configure_file(${pkg_src}/app.desktop.in ${pkg_out}/${ZARIDI_APP_ID}.desktop @ONLY)
configure_file(${pkg_src}/app.metainfo.xml.in ${pkg_out}/${ZARIDI_APP_ID}.metainfo.xml @ONLY)
configure_file(${pkg_src}/copyright.in ${pkg_out}/copyright @ONLY)
configure_file(${pkg_src}/changelog.in ${pkg_out}/changelog @ONLY)
configure_file(${pkg_src}/man/tavo_Zaridi2.1.in ${pkg_out}/man/tavo_Zaridi2.1 @ONLY)
configure_file(${pkg_src}/man/ja/tavo_Zaridi2.1.in ${pkg_out}/man/ja/tavo_Zaridi2.1 @ONLY)

# Compressed as Debian keeps them (-n: no name or time stamp, so the package is reproducible).
set(gz_files ${pkg_out}/changelog ${pkg_out}/man/tavo_Zaridi2.1 ${pkg_out}/man/ja/tavo_Zaridi2.1)
set(generated)
foreach(file ${gz_files})
    add_custom_command(OUTPUT ${file}.gz COMMAND gzip -9nkf ${file} DEPENDS ${file} VERBATIM)
    list(APPEND generated ${file}.gz)
endforeach()

find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
    foreach(size ${icon_sizes})
        set(png ${pkg_out}/icons/${size}/${ZARIDI_APP_ID}.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${pkg_out}/icons/${size}
            COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${pkg_src}/icon.svg
            DEPENDS ${pkg_src}/icon.svg VERBATIM)
        list(APPEND generated ${png})
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
else()
    message(WARNING "rsvg-convert not found (librsvg2-bin): the package gets the SVG icon only")
endif()
add_custom_target(packaging_files ALL DEPENDS ${generated})

install(TARGETS tavo_Zaridi2 RUNTIME DESTINATION bin)
# The libraries the program loads late (platform/LateLibrary.h), where it looks for them from bin/.
install(TARGETS ${ZARIDI_LATE_LIBRARIES} LIBRARY DESTINATION ${ZARIDI_PRIVATE_LIBDIR})
install(FILES ${pkg_out}/${ZARIDI_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg_out}/${ZARIDI_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg_src}/icon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME ${ZARIDI_APP_ID}.svg)
install(FILES ${pkg_out}/man/tavo_Zaridi2.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${pkg_out}/man/ja/tavo_Zaridi2.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
install(FILES ${pkg_out}/copyright ${pkg_out}/changelog.gz ${CMAKE_SOURCE_DIR}/README.md
    DESTINATION ${pkg_docdir})
install(FILES ${CMAKE_SOURCE_DIR}/docs/main-window.png ${CMAKE_SOURCE_DIR}/docs/slip-layout.png
    DESTINATION ${pkg_docdir}/docs) # where README's pictures point
# Checked when installing, not when configuring: the index may be built after this file is read. No
# empty folder is left when there is none.
install(CODE "
    if(EXISTS \"${ZARIDI_POSTCODE_INDEX}\")
        file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/tavo_Zaridi2\"
            TYPE FILE FILES \"${ZARIDI_POSTCODE_INDEX}\")
    endif()")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${ZARIDI_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ZARIDI_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shipping slips filled in one at a time for a dot-matrix printer")
set(CPACK_PACKAGE_DESCRIPTION
    "A single-window desktop tool for a small Japanese shipper: the consignee,\n"
    "one of ten saved senders, the goods, the pieces, a cash-on-delivery amount\n"
    "and the date are filled in for one carrier shipping slip at a time, and only\n"
    "the variable text is printed onto pre-printed slip stock on a dot-matrix\n"
    "printer through CUPS. An order mail pasted into the memo is sorted into\n"
    "postcode, address, name and phone number. The window and its messages are\n"
    "in Japanese.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZARIDI_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZARIDI_WEB_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not pull in: the slip's faces (Mincho, DejaVu Sans and Liberation Sans stand in
# for the design's fonts), the window's Gothic, Qt's platform plugins (libqt6gui6 only recommends them)
# and Qt's Japanese texts, loaded from Qt's own translations folder.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-mincho, fonts-ipafont-gothic | fonts-noto-cjk, fonts-dejavu-core, fonts-liberation2, qt6-qpa-plugins, qt6-translations-l10n")
# The printer queues live in the CUPS scheduler; Wayland sessions need Qt's Wayland plugin for a native
# window (XWayland serves without it).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups, qt6-wayland")
include(CPack)
