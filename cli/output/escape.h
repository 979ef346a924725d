#pragma once

#include <string>
#include <string_view>

// The one escaper of every text the command line writes into a document:
// bytes of any encoding come in (names and comments of robot files are
// untrusted), text that cannot break its document goes out. Valid UTF-8
// passes through; every byte that is not part of valid UTF-8 becomes
// U+FFFD.

// A JSON string literal, quotes included; control characters as \u00XX.
std::string jsonQuoted(std::string_view bytes);

// The same, to stand inside a page's <script> element: also <, > and & as
// \u003c, \u003e and \u0026, so that no text can close the element.
std::string pageJsonQuoted(std::string_view bytes);

// Text for an XML document (an SVG's labels and titles): the five special
// characters as entities, a tab as a blank, every other control character
// and the two characters XML has not (U+FFFE, U+FFFF) as U+FFFD, so that the
// document stays well-formed.
std::string xmlEscaped(std::string_view bytes);
