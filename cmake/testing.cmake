# GoogleTest: Debian's libgtest-dev natively; for the cross build, compiled from
# the sources that Debian's googletest package installs.
if(CMAKE_CROSSCOMPILING)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # googletest 1.12 defines the GTest:: aliases itself; older sources do not.
    if(NOT TARGET GTest::gtest)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
else()
    find_package(GTest REQUIRED)
endif()

# One test executable a folder, registered as one CTest test: each start under
# Wine costs about half a second, so cases are not registered one by one. The
# add_test(NAME ... COMMAND target) form is the one that runs through
# CMAKE_CROSSCOMPILING_EMULATOR.
function(posebridge_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE posebridge_flags ${ARG_LIBRARIES} GTest::gtest
                                          GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
