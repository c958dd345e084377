# Where the packages put what they carry. Programs go to bin/ by install()'s
# defaults, and so do the Windows DLLs, beside the programs that load them.
# On Linux the two libraries are loaded by their hosts (a Java VM, a host
# program) from where they are, not linked against: they go to a folder of the
# package's own.
include(GNUInstallDirs)

set(PROJECT_PACKAGE_NAME veltrona-service-tools)
if(WIN32)
    set(PROJECT_INSTALL_DOCDIR doc)
    set(PROJECT_INSTALL_EXAMPLESDIR examples)
else()
    set(PROJECT_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_PACKAGE_NAME})
    set(PROJECT_INSTALL_EXAMPLESDIR ${CMAKE_INSTALL_DATAROOTDIR}/${PROJECT_PACKAGE_NAME}/examples)
    # The private folder of an architecture-dependent package.
    set(PROJECT_INSTALL_LIBRARYDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/${PROJECT_PACKAGE_NAME})
endif()
set(PROJECT_INSTALL_LICENCEDIR ${PROJECT_INSTALL_DOCDIR}/licences)

