// The reader book (".lnf2"): a write-only "book" XML of a book's multiple-choice questions for a handheld
// reader. Its texts are plain-text cells, with Symbol-font and typographic characters as tokens and
// superscripts marked by "^"; every picture is a GIF file in a media folder named after the book.
#pragma once

#include "interchange/ExchangeContext.h"
#include "platform/richtext/PictureRaster.h"

#include <pugixml.hpp>

#include <cstdint>
#include <string>

class CItemsArray2;

// The widest and the tallest a reader picture (or one band of it) may be.
inline constexpr int kReaderPictureLimit = 500;

// The output size of a picture and how many bands it is cut into.
struct SReaderPictureSize
{
    int width = 0;
    int height = 0;
    int pieces = 1;
    friend bool operator==(const SReaderPictureSize&, const SReaderPictureSize&) = default;
};

// From the display size (below 1: the picture's own) and the natural size: a display width within 10 %
// of the natural one counts as natural; a picture wider than 500 is scaled to 500 wide and, when it is
// then taller than 500, cut into 500-row bands. A picture at most 500 wide is written whole.
SReaderPictureSize ReaderPictureSize(int displayWidth, int displayHeight, int naturalWidth,
                                     int naturalHeight);

// The rows of band piece (from 1) of a picture height rows tall: 500 rows, the last one the rest. False
// for a picture of 500 rows or less and for a piece past the last.
bool ReaderBandRows(int height, int piece, int& firstRow, int& rowCount);

// The name the reader book is written under: unless keepName, ".lnf2" is appended when the last five
// characters, lower-cased, are not ".lnf2".
std::string ReaderBookFileName(const std::string& fileName, bool keepName);
// The media folder of a final file name, ending in "/": the file's folder plus its name without the
// extension ("/b/Biology.lnf2" -> "/b/Biology/"); the file's own folder when the name has no extension
// or is nothing but one.
std::string ReaderBookMediaFolder(const std::string& finalName);

// Names and writes the GIF files of one export into its media folder. Names are the folder, a prefix, a
// running number and ".gif"; the number rises past every name that exists, so nothing is overwritten.
class CReaderPictureWriter
{
public:
    CReaderPictureWriter(std::string folder, const lf::IPictureRaster* raster)
        : m_folder(std::move(folder)), m_raster(raster)
    {
    }

    const lf::IPictureRaster* Raster() const { return m_raster; }
    // The next free file name (with folder) for the prefix.
    std::string NextFileName(const std::string& prefix);
    // How many files this writer has written.
    int Written() const { return m_written; }
    void CountWritten() { ++m_written; }

private:
    std::string m_folder;
    const lf::IPictureRaster* m_raster; // not owned; null: no picture can be drawn
    std::int64_t m_number = 0;
    int m_written = 0;
};

// Writes the reader book of items (Data model of the format) with its pictures drawn through
// context.pictures. False for an empty name (nothing logged), when the file cannot be written (an old file
// stays whole), and when the chapter or question pass failed: what those passes built is still written.
bool SaveKindleXML(const std::string& fileName, CItemsArray2* items, bool keepName,
                   const SExchangeContext& context);

// Appends `chapters` with one `chapter` (id, name) per row of the chapter table. True.
bool AddReaderChapters(pugi::xml_node book, const CItemsArray2* items, const SExchangeContext& context);
// Appends `questions` with one `question` per multiple-choice item that is neither deleted nor in the
// Trash, in book order. False when an item, an answer or a text fails; the walk stops there.
bool AddReaderQuestions(pugi::xml_node book, CItemsArray2* items, CReaderPictureWriter& pictures,
                        const SExchangeContext& context);
// Renders one stored text into `tc` cells appended to element, its pictures written through pictures.
// The view's content is replaced. False without a view or when a band of a cut picture cannot be written.
bool MakeKindleCellsFromXML(const std::string& storedText, lf::RichDocument* view, pugi::xml_node element,
                            CReaderPictureWriter& pictures, const SExchangeContext& context);
// Writes band piece of a picture taller than 500 rows as a GIF file. False for a piece that is no band or a
// file that cannot be written.
bool SaveBitmapPieceAsGif(const lf::SRasterImage& bitmap, int piece, const std::string& fileName);
