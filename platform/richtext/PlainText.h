// The plain text of rich content, as the search texts, the exports and the HTML probe read it.
#pragma once

#include "platform/richtext/RichDocument.h"

#include <string>

namespace lf
{

// Texts of the text runs; "\r\n" before every item that starts a paragraph (except the first) and
// for every line break. Pictures and hotspots add nothing; a table gives its cells' texts joined by
// "\t", its rows by "\r\n".
std::string RichPlainText(const RichContent& content);
void AppendRichPlainText(const RichContent& content, std::string& out);

} // namespace lf

// Each tab becomes four blanks, each CR and each LF one blank (a CR LF pair two); with trim, the blanks
// and control characters around the result go too.
void FlattenTabsAndLineBreaks(std::string& text, bool trim);

namespace lf
{

} // namespace lf
