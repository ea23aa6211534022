// What the rich-text layer asks of the program, answered with Qt: the pictures that imported pages
// name, and the page text of a web reply.
#pragma once

#include "platform/qt/HttpClient.h"
#include "platform/richtext/RichTextOps.h"

#include <string>

namespace lf::qt
{

// The bytes of a picture an imported page names: "http://", "https://" and "www." addresses through an
// HTTP GET (limited to timeoutMs), "file://" addresses and paths ("\" or "/") from disk, "data:"
// addresses decoded. Empty when there is none or the bytes are no picture.
lf::SRichPicture FetchPicture(const std::string& source, int timeoutMs = 10000);

// Fills the rich-text host: the field font given, and a picture loader over FetchPicture that fetches
// each source once until ClearFetchedPictures.
void InstallRichTextHost(const lf::SRichFieldFont& fieldFont);
void ClearFetchedPictures();

// The plain text of a web page as a browser shows its body: an HTML reply through the HTML importer,
// any other reply unchanged; empty for a failed reply.
std::string GetBrowserBodyText(const SHttpReply& reply);

} // namespace lf::qt
