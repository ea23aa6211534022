// Rich text to HTML for the exporters: a UTF-8 page with inline styles; pictures become files in a
// folder, named with a prefix and a running number.
#pragma once

#include "platform/richtext/RichDocument.h"

#include <string>
#include <vector>

namespace lf
{

struct SHtmlExportOptions
{
    std::string title;
    // Where picture files go ("/" path ending in "/"); empty: the current folder.
    std::string pictureFolder;
    // Picture files are named prefix + number + extension, the number the first free one from 1.
    std::string picturePrefix;
};

// Writes the document as an HTML page. Each picture is written to its own file (through a temporary
// file renamed into place) and referred to by file name. False when a picture file could not be
// written (the page still refers to the name it was meant to have); written lists the files made.
bool ExportHtml(const RichDocument& doc, const SHtmlExportOptions& options, std::string& html,
                std::vector<std::string>* written = nullptr);

} // namespace lf
