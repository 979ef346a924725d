# What a user installs. On Linux, `cmake --install` and the .deb place
# posebridge-cli in bin with the README and the licence beside the docs; on
# Windows, the .zip holds both programs, the README, the licence and a
# SHA-256 list of them, all in one folder.

if(WIN32)
    set(program_dir .)
    set(doc_dir .)
    install(TARGETS posebridge posebridge-cli RUNTIME DESTINATION ${program_dir})
else()
    include(GNUInstallDirs)
    set(program_dir ${CMAKE_INSTALL_BINDIR})
    set(doc_dir ${CMAKE_INSTALL_DOCDIR})
    install(TARGETS posebridge-cli RUNTIME DESTINATION ${program_dir})
endif()
install(FILES README.md LICENSE DESTINATION ${doc_dir})

if(WIN32)
    # Written where the files were installed, after them.
    install(CODE [[
        set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
        set(list "")
        foreach(name posebridge.exe posebridge-cli.exe README.md LICENSE)
            file(SHA256 "${folder}/${name}" hash)
            string(APPEND list "${hash}  ${name}\n")
        endforeach()
        file(WRITE "${folder}/SHA256SUMS" "${list}")
    ]])
endif()

set(CPACK_PACKAGE_NAME posebridge-cli)
set(CPACK_PACKAGE_VENDOR "The PoseBridge authors")
set(CPACK_PACKAGE_CONTACT "The PoseBridge authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Lists, converts and compares every pose of KUKA, ABB and FANUC robot programs")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME posebridge-${PROJECT_VERSION}-windows-x64)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    # The C++ runtime of Debian 12 and Ubuntu 22.04 or later.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1")
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "")
endif()
include(CPack)
