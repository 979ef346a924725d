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
    # The package's name, as Debian looks for it, not the project's.
    set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/posebridge-cli)
    install(TARGETS posebridge-cli RUNTIME DESTINATION ${program_dir})
endif()
install(FILES README.md DESTINATION ${doc_dir})

# The manual page, its plain-text copy and the bash completion, made from the
# built program's own help texts whenever the program changes. The cross
# build cannot run its program: scripts/package hands it the native build's
# plain-text manual in POSEBRIDGE_MANUAL_TEXT.
if(NOT CMAKE_CROSSCOMPILING)
    find_program(HELP2MAN help2man)
    if(NOT HELP2MAN)
        message(FATAL_ERROR "help2man is missing: install help2man")
    endif()
    set(manual_dir ${CMAKE_BINARY_DIR}/manual)
    add_custom_command(
        OUTPUT ${manual_dir}/posebridge-cli.1.gz ${manual_dir}/posebridge-cli.txt
               ${manual_dir}/posebridge-cli.bash
        COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/make_manual.sh $<TARGET_FILE:posebridge-cli>
                ${manual_dir}
        DEPENDS posebridge-cli ${PROJECT_SOURCE_DIR}/cmake/make_manual.sh
        COMMENT "Writing the manual page and the bash completion from posebridge-cli's help"
        VERBATIM)
    add_custom_target(manual ALL DEPENDS ${manual_dir}/posebridge-cli.1.gz)
    install(FILES ${manual_dir}/posebridge-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${manual_dir}/posebridge-cli.bash
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
            RENAME posebridge-cli)
    # Debian's own forms of the licence and the history.
    install(FILES cmake/package/copyright DESTINATION ${doc_dir})
    set(changelog ${CMAKE_BINARY_DIR}/changelog.gz)
    add_custom_command(
        OUTPUT ${changelog}
        COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/cmake/package/changelog > ${changelog}
        DEPENDS ${PROJECT_SOURCE_DIR}/cmake/package/changelog)
    add_custom_target(changelog ALL DEPENDS ${changelog})
    install(FILES ${changelog} DESTINATION ${doc_dir})
else()
    install(FILES LICENSE DESTINATION ${doc_dir})
    install(FILES cmake/package/README.txt DESTINATION ${doc_dir})
    set(POSEBRIDGE_MANUAL_TEXT "" CACHE FILEPATH "posebridge-cli's manual as plain text")
    if(POSEBRIDGE_MANUAL_TEXT)
        install(FILES ${POSEBRIDGE_MANUAL_TEXT} DESTINATION ${doc_dir})
    endif()
endif()

if(WIN32)
    # Written where the files were installed, after them.
    install(CODE [[
        set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
        set(list "")
        file(GLOB names RELATIVE "${folder}" "${folder}/*")
        list(REMOVE_ITEM names SHA256SUMS)
        list(SORT names)
        foreach(name ${names})
            file(SHA256 "${folder}/${name}" hash)
            string(APPEND list "${hash}  ${name}\n")
        endforeach()
        file(WRITE "${folder}/SHA256SUMS" "${list}")
    ]])
endif()

set(CPACK_PACKAGE_NAME posebridge-cli)
set(CPACK_PACKAGE_VENDOR "The PoseBridge authors")
set(CPACK_PACKAGE_CONTACT
    "PoseBridge maintainers <maintainers@users.noreply.c-seed-8379b7c0.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "poses of KUKA, ABB and FANUC programs: list, compare, move, calibrate")
# Debian wants the long description in lines of fewer than 80 characters.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "posebridge-cli reads whole robot programs and controller backups: every\n"
    "pose of KUKA KRL (.dat .src .sub), ABB RAPID (.mod .modx .sys .prg) and\n"
    "FANUC (.ls) files. It lists them as a table, JSON Lines or CSV, compares\n"
    "two backups pose by pose, moves every selected position by frames while\n"
    "leaving every other byte of the files as it was, computes bases, work\n"
    "objects and tools from taught points with their errors, and draws all of\n"
    "it in 3D as a page that opens offline in any browser. Single poses are\n"
    "converted between thirteen notations (KUKA, ABB, FANUC, a 4x4 matrix,\n"
    "Universal Robots, Yaskawa, Mitsubishi, Techman, Kawasaki, Doosan, Staubli,\n"
    "ROS and URDF).")
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
