# The release packages: a ZIP from the 32-bit Windows build; a .deb and a .tar.gz from
# the Linux build. scripts/package.sh makes them all. The programs' install rules sit
# beside their targets; what every package carries beside them is installed here.

set(PROJECT_PACKAGE_MAINTAINER "Veltrona service tools <service-tools@veltrona.example>"
    CACHE STRING "Maintainer named in the Debian package")
# The date of this release, for the Debian changelog (RFC 5322 form).
set(PROJECT_RELEASE_DATE "Wed, 09 Dec 2026 12:00:00 +0000")

install(FILES docs/guide.md CHANGELOG.md README.md DESTINATION ${PROJECT_INSTALL_DOCDIR})
install(DIRECTORY examples/ DESTINATION ${PROJECT_INSTALL_EXAMPLESDIR}
    FILES_MATCHING PATTERN "*.txt" PATTERN "*.bin")

# Licence notices of what the programs carry inside them.
install(FILES docs/licences/README.md docs/licences/boost.txt
    DESTINATION ${PROJECT_INSTALL_LICENCEDIR})

# install_runtime_licence(<name> <library file>): the Debian copyright file of the
# toolchain package that holds <library file>, the library linked into the programs,
# installed as licences/<name>.txt. Read from the build machine, so that the notice is
# that of the very library the build used.
function(install_runtime_licence name library)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
        OUTPUT_VARIABLE library_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    file(REAL_PATH "${library_path}" library_path)
    execute_process(COMMAND dpkg-query --search "${library_path}"
        OUTPUT_VARIABLE owner RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE)
    string(REGEX REPLACE "[:,].*" "" owner "${owner}")
    set(notice /usr/share/doc/${owner}/copyright)
    if(failed OR NOT EXISTS ${notice})
        message(FATAL_ERROR "No licence notice found for ${library} (${library_path})")
    endif()
    install(FILES ${notice} RENAME ${name}.txt DESTINATION ${PROJECT_INSTALL_LICENCEDIR})
endfunction()

install_runtime_licence(gcc-runtime libstdc++.a)
if(WIN32)
    install_runtime_licence(mingw-w64-runtime libwinpthread.a)
else()
    # quenmap and quenview are linked statically; quenview hashes with nettle.
    install_runtime_licence(gnu-c-library libc.a)
    install_runtime_licence(nettle libnettle.a)
endif()

if(NOT WIN32)
    # Debian wants the copyright and a changelog in its own form beside the docs.
    install(FILES cmake/debian/copyright DESTINATION ${PROJECT_INSTALL_DOCDIR})
    install(FILES cmake/debian/lintian-overrides RENAME ${PROJECT_PACKAGE_NAME}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides)
    set(debian_changelog ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog)
    file(WRITE ${debian_changelog}
        "${PROJECT_PACKAGE_NAME} (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
        "  * Release ${PROJECT_VERSION}: see CHANGELOG.md beside this file.\n\n"
        " -- ${PROJECT_PACKAGE_MAINTAINER}  ${PROJECT_RELEASE_DATE}\n")
    execute_process(COMMAND gzip -9 --no-name --stdout ${debian_changelog}
        OUTPUT_FILE ${debian_changelog}.gz RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip of ${debian_changelog} failed")
    endif()
    install(FILES ${debian_changelog}.gz DESTINATION ${PROJECT_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "Veltrona")
set(CPACK_PACKAGE_CONTACT "${PROJECT_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service tools for Veltrona RF signal generators")
set(CPACK_PACKAGE_DESCRIPTION
    "Tools for the production and repair lines of Veltrona RF signal generators:
quenmap converts a board's EEPROM content between the editable calibration
text and the binary EEPROM image; portwalk lists the maker's USB devices for
host programs; busgate gives a Java instrument package GPIB access through
the NI-488.2 driver library; runhost starts applications packaged for the
Numora compiler runtime.")
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)

if(WIN32)
    # Unzipped, the folder holds bin/, examples/ and doc/ directly.
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win32)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
    set(CPACK_GENERATOR DEB TGZ)
    set(CPACK_PACKAGE_FILE_NAME
        ${PROJECT_NAME}-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
    set(CPACK_DEBIAN_PACKAGE_NAME ${PROJECT_PACKAGE_NAME})
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PROJECT_PACKAGE_MAINTAINER}")
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # The libraries are the package's own, loaded by name from their folder (the .deb
    # installs under /usr).
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS /usr/${PROJECT_INSTALL_LIBRARYDIR})
endif()

include(CPack)
