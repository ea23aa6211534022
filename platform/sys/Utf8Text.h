// UTF-8, the program's text: checking it, and making any text that comes from outside valid UTF-8
// before it reaches the question model, so that no writer can ever put invalid bytes into a file.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace lf::sys
{

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Appends the UTF-8 form of a code point; a surrogate or a value above U+10FFFF appends U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

// The character a Windows-1252 byte stands for. The five bytes Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) give the control characters of the same number, so they survive a round trip.
char32_t Windows1252CodePoint(unsigned char byte);

// Makes text valid UTF-8 in place; true when anything changed. Valid sequences stay as they are. A
// sequence of the right shape that encodes a surrogate or a value above U+10FFFF (what a character
// reference such as "&#xD800;" decodes to) becomes one U+FFFD. Every other byte that starts no valid
// sequence is read as Windows-1252, the way a whole file without a declared encoding is read.
bool MakeValidUtf8(std::string& text);

// The same for every name and value in an XML tree (element and attribute names, attribute values,
// text and CDATA); walks without recursion, so any nesting depth is safe. True when anything changed.
bool MakeXmlTextsValidUtf8(pugi::xml_node root);

// The number of a character reference whose digits start at at, hexadecimal or decimal: the position
// after the last digit (at itself when none stands there). The number stops growing once it is past
// U+10FFFF, so a long one never wraps round to a character.
std::size_t ReadCharacterReferenceNumber(std::string_view text, std::size_t at, bool hex, char32_t& number);

// The XML text with every numeric character reference the XML library decodes ("&#65;", "&#x41;") that
// names character 0 or a number past U+10FFFF rewritten as the reference to U+FFFD; CDATA sections,
// comments and processing instructions stay as they are. The library writes a 0 into the value, which
// then ends there, and wraps larger numbers round to another character. Empty when the text holds no
// such reference.
std::string ReplaceXmlReferencesToNoCharacter(std::string_view xml);

} // namespace lf::sys
