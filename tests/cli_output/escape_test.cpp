#include "cli/output/escape.h"

#include <gtest/gtest.h>

#include <string>

// An SVG label must keep its document well-formed whatever bytes a robot
// file held: markup characters, control characters, broken UTF-8.
TEST(ScanText, XmlTextStaysWellFormed) {
    const struct {
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"P[1]", "P[1]"},
        {"</text><script>alert(1)</script>", "&lt;/text&gt;&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"a & \"b\" 'c'", "a &amp; &quot;b&quot; &apos;c&apos;"},
        {"]]>", "]]&gt;"},
        {"tab\tnew\nline", "tab new\xEF\xBF\xBDline"},
        {std::string("nul\0byte", 8), "nul\xEF\xBF\xBD"
                                      "byte"},
        {"Gr\xC3\xBC\xC3\x9F", "Gr\xC3\xBC\xC3\x9F"},             // valid UTF-8 passes
        {"Gr\xFC\xDF", "Gr\xEF\xBF\xBD\xEF\xBF\xBD"},             // Latin-1 does not
        {"\xE2\x82", "\xEF\xBF\xBD\xEF\xBF\xBD"},                 // cut short
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // a surrogate
        // Not characters of XML at all: one U+FFFD each; their neighbours pass.
        {"a\xEF\xBF\xBEz", "a\xEF\xBF\xBDz"},
        {"\xEF\xBF\xBF\xEF\xBF\xBF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xEF\xBF\xBD\xEF\xBF\xBC", "\xEF\xBF\xBD\xEF\xBF\xBC"},
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"}, // U+10FFFF is one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(xmlEscaped(c.bytes), c.expected);
    }
}
