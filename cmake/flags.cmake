# Compiler settings shared by every target of the project.

add_library(posebridge_flags INTERFACE)
target_compile_options(posebridge_flags INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                                  -Wno-sign-conversion)
target_include_directories(posebridge_flags INTERFACE ${PROJECT_SOURCE_DIR})

# The portable core reports failures as bool and never throws. The command
# line's front end links the core but uses CLI11, which reports by throwing:
# a target that sets POSEBRIDGE_EXCEPTIONS keeps them.
add_library(posebridge_core_flags INTERFACE)
target_link_libraries(posebridge_core_flags INTERFACE posebridge_flags)
target_compile_options(
    posebridge_core_flags
    INTERFACE $<$<NOT:$<BOOL:$<TARGET_PROPERTY:POSEBRIDGE_EXCEPTIONS>>>:-fno-exceptions>)

# The native preset builds this at -Og -g1 (CMakePresets.json): instrumented
# code at -O2 -g took twice to three times as long to compile, and the tests
# ran no faster; -g1 keeps the line tables, so every report still names file
# and line.
if(POSEBRIDGE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
    # One self-contained executable: no libstdc++, libgcc or winpthread DLLs beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()
