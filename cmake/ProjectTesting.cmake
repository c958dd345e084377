# GoogleTest: the installed package natively; for the mingw build it is compiled
# from the sources Debian ships in /usr/src/googletest.
enable_testing()
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
    set(GOOGLETEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources for cross builds")
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # The googletest project defines the GTest:: aliases itself.
else()
    find_package(GTest REQUIRED)
endif()

# add_project_test(<name> SOURCES <files...> [LIBS <libs...>])
# One test executable per area; its cases are discovered before the run so
# that the first (slow) wine start does not hit the discovery timeout.
function(add_project_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    project_warnings(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120
        PROPERTIES TIMEOUT 300
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
