# The tests' own code at -O1 in a Release build (the Windows preset is one, for
# the .zip): the code under test is built as shipped, the tests need no -O3,
# which took half as long again to compile them.
set(posebridge_test_code_options $<$<AND:$<CONFIG:Release>,$<COMPILE_LANGUAGE:CXX>>:-O1>)

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
    target_compile_options(gtest PRIVATE ${posebridge_test_code_options})
    target_compile_options(gtest_main PRIVATE ${posebridge_test_code_options})
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
    target_compile_options(${name} PRIVATE ${posebridge_test_code_options})
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
