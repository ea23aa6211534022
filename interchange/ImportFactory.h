// Makes the questions of one import into a book: each gets what the book's own factory gives a new item
// (the author as owner and modifier, a new ID of the book, the chapter number after the book's greatest).
#pragma once

#include "model/Itemsarray.h"

#include <cstdint>
#include <memory>
#include <optional>

class CBaseItem;

class CImportFactory
{
public:
    explicit CImportFactory(CItemsArray2& book) : m_book(book) {}

    // A new item of kind (1..10), not inserted; null for another kind. The book's factory finds the chapter
    // number by walking the whole book; as every imported question becomes the greatest, the numbers simply
    // count on from the first, so the book is walked once per import rather than once per question.
    std::unique_ptr<CBaseItem> Create(int kind);

private:
    CItemsArray2& m_book;
    CItemsArray2 m_factory; // empty: makes the items without walking the book
    std::optional<std::int32_t> m_layer;
};
