# posebridge_fmt: what links {fmt}. Debian's {fmt} 9 has its compiled part
# built once here (fmt_library.cpp); any other version is used header-only, as
# before, which is correct but compiles the formatting again in every file
# that prints. Needs the folder of links to Debian's headers in third_party.
file(STRINGS /usr/include/fmt/core.h fmt_version REGEX "^#define FMT_VERSION [0-9]+$")
string(REGEX MATCH "[0-9]+$" fmt_version "${fmt_version}")
if(fmt_version GREATER_EQUAL 90000 AND fmt_version LESS 100000)
    add_library(posebridge_fmt STATIC ${CMAKE_CURRENT_LIST_DIR}/fmt_library.cpp)
    target_include_directories(posebridge_fmt SYSTEM PUBLIC ${third_party})
else()
    add_library(posebridge_fmt INTERFACE)
    target_include_directories(posebridge_fmt SYSTEM INTERFACE ${third_party})
    target_compile_definitions(posebridge_fmt INTERFACE FMT_HEADER_ONLY)
endif()
