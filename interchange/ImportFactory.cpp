#include "interchange/ImportFactory.h"

#include "model/items/Datatypes_Kinds.h"
#include "platform/sys/NumberText.h"

#include <string>

std::unique_ptr<CBaseItem> CImportFactory::Create(int kind)
{
    std::unique_ptr<CBaseItem> item = MakeItemOfKind(kind);
    if (!item)
        return nullptr;
    item->SetModifierStr(m_book.GetAuthorName());
    item->SetOwnerStr(m_book.GetAuthorName());
    item->SetID(static_cast<std::int32_t>(m_book.NewItemID()));
    if (m_layer)
    {
        ++*m_layer;
    }
    else
    {
        const std::string first =
            m_book.GetMaxLayer(); // a whole number: the first part of the greatest, plus one
        std::int32_t value = 1;
        lf::sys::ReadNumberLenient(first, value);
        m_layer = value;
    }
    item->SetLayersStr(lf::sys::NumberText(*m_layer));
    return item;
}
