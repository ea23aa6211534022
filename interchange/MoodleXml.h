// Quiz files of the learning-platform XML format: the reader that appends their questions of all ten
// kinds to a book, and the writer that exports a book's questions with their pictures beside the file.
#pragma once

#include "interchange/ExchangeContext.h"

#include <pugixml.hpp>

#include <cstdint>
#include <string>

class CBaseItem;
class CItemsArray2;

// Appends every question of a quiz file to items (emptied first with clearFirst, once the file proved to
// be a quiz), each in chapter 0, without marking the book modified. Pictures the texts name are taken
// from the quiz file's folder, those on the web from the context's loader; names that would lead outside
// the folder are not read. False, with items
// untouched, for a missing file, one that does not parse or one without the root `quiz`.
bool LoadMoodleXML(const std::string& fileName, CItemsArray2* items, bool clearFirst,
                   const SExchangeContext& context);

// Reads every `question` of quiz into items; a question of an unknown type is skipped. Pictures the texts
// name are asked of pictures (none: placeholders). True.
bool LoadMoodleQuestionsFromXML(pugi::xml_node quiz, CItemsArray2* items, const SExchangeContext& context,
                                const lf::RichPictureRequest& pictures);

// The kind (1..10) of a question type name, compared without regard to case; false for another name.
bool MoodleTypeNameToKind(const std::string& typeName, std::uint8_t& kind);
// The type name of a kind; false outside 1..10.
bool KindToMoodleTypeName(std::uint8_t kind, std::string& typeName);

// The answers (matching: the subquestions) of one question into item, pictures asked of pictures; false
// only without an item.
bool LoadMoodleAnswersFromXML(pugi::xml_node question, CBaseItem* item,
                              const lf::RichPictureRequest& pictures);
// The units of a `units` element into item; false only without an item.
bool LoadMoodleUnitsFromXML(pugi::xml_node units, CBaseItem* item);

// The grade fraction of a quiz file's percent text: the grade table's entry for it, or the entry within
// 0.01 percentage points of a number written with more digits; "0" when no entry matches.
std::string MoodlePercentToFraction(const std::string& percent);

// Writes the questions of items that are neither deleted nor in the Trash as a quiz file; ".xml" is
// appended unless keepName or the name ends in it (any case). Picture files go into the file's folder,
// named after it. The file is written through a temporary file and a rename: false for an empty name or
// a failed write, which leaves an old file whole.
bool SaveMooldeXML(const std::string& fileName, CItemsArray2* items, bool keepName,
                   const SExchangeContext& context);
// The name SaveMooldeXML writes under: ".xml" appended unless keepName or the name ends in it (any case).
std::string MoodleXmlFileName(const std::string& fileName, bool keepName);

// Appends one `question` per exported item to quiz; texts are rendered through the context's view, their
// pictures written into pictureFolder with picturePrefix, which the context's storage holds as the running
// export's prefix until the questions are written.
void SaveMoodleQuestionsToXML(pugi::xml_node quiz, CItemsArray2* items, const SExchangeContext& context,
                              const std::string& pictureFolder, const std::string& picturePrefix);
