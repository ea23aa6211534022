// The item collection itself: its lists, the item factory and IDs, insertion, replacement and
// conversion of items, and the chapter table.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/storage/XmlUtils.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"
#include "platform/richtext/RichDocument.h"
#include "platform/sys/NumberText.h"

#include <algorithm>
#include <string_view>

namespace
{

bool IsBlankName(const std::string& name)
{
    return name.find_first_not_of(" \t\r\n") == std::string::npos;
}

// Replaces every occurrence of oldItem in list by newItem.
void ReplaceInList(CBaseItemPtrArray& list, const CBaseItem* oldItem, CBaseItem* newItem)
{
    for (auto& entry : list)
    {
        if (entry == oldItem)
            entry = newItem;
    }
}

std::int32_t FindInList(const CBaseItemPtrArray& list, const CBaseItem* item)
{
    if (!item)
        return -1;
    for (std::int32_t i = 0; i < list.GetSize(); ++i)
    {
        if (list[i] == item)
            return i;
    }
    return -1;
}

} // namespace

bool IsActiveItem(const CBaseItem* item)
{
    return item && !item->TestStatus(qsDeleted | qsInTrash);
}

CItemsArray2::CItemsArray2()
{
    ResetFilterOptions();
    m_Preferences.currentMode = eamTestMode;
    m_Preferences.currentView = 0;
    m_Preferences.problemKind = 0;
    m_Preferences.problemNumber = 0;
}

CItemsArray2::~CItemsArray2()
{
    for (CBaseItem* item : m_Items)
        delete item;
}

// ---------------------------------------------------------------------------------------------------------
// Lists and lookups

CBaseItem* CItemsArray2::GetItem(std::int32_t index) const
{
    if (index < 0 || index >= m_Items.GetSize())
        return nullptr;
    return m_Items[index];
}

std::int32_t CItemsArray2::IndexOfItem(const CBaseItem* item) const
{
    return FindInList(m_Items, item);
}

std::int32_t CItemsArray2::GetRecordIndex(const CBaseItem* item) const
{
    return FindInList(m_Records, item);
}

CBaseItem* CItemsArray2::GetRecord(std::int32_t recordIndex) const
{
    if (recordIndex < 0 || recordIndex >= m_Records.GetSize())
        return nullptr;
    return m_Records[recordIndex];
}

std::int32_t CItemsArray2::GetRecordIndexAt(std::int32_t index) const
{
    return GetRecordIndex(GetItem(index));
}

std::int32_t CItemsArray2::GetItemIndexOfRecord(std::int32_t recordIndex) const
{
    return IndexOfItem(GetRecord(recordIndex));
}

CBaseItem* CItemsArray2::GetGridListItem(std::int32_t row) const
{
    if (row < 0 || row >= m_GridList.GetSize())
        return nullptr;
    return m_GridList[row];
}

std::int32_t CItemsArray2::GetItemIndexOfGridRow(std::int32_t row) const
{
    return IndexOfItem(GetGridListItem(row));
}

bool CItemsArray2::HasSelectedGridItems() const
{
    return std::any_of(m_GridList.begin(), m_GridList.end(),
                       [](const CBaseItem* item) { return item && item->TestStatus(qsSelected); });
}

std::int32_t CItemsArray2::GetNumberInCategory() const
{
    const CBaseItem* current = GetCurrentItem();
    if (!current)
        return 0;
    std::int32_t number = 0;
    for (std::int32_t i = 0; i <= m_CurrentIndex; ++i)
    {
        if (m_Items[i]->GetCategoryID() == current->GetCategoryID())
            ++number;
    }
    return number;
}

// ---------------------------------------------------------------------------------------------------------
// Creation and insertion

std::uint32_t CItemsArray2::NewItemID()
{
    return MakeNewItemID(m_LastItemID);
}

std::unique_ptr<CBaseItem> CItemsArray2::CreateItem(int kind, bool withNewID)
{
    std::unique_ptr<CBaseItem> item = MakeItemOfKind(kind);
    if (!item)
        return nullptr;
    item->SetModifierStr(m_AuthorName);
    item->SetOwnerStr(m_AuthorName);
    item->SetLayersStr(GetMaxLayer());
    if (withNewID)
        item->SetID(static_cast<std::int32_t>(NewItemID()));
    return item;
}

std::unique_ptr<CBaseItem> CItemsArray2::MakeNewItem(int kind, const CBaseItem* source, std::int32_t category)
{
    std::unique_ptr<CBaseItem> item = CreateItem(kind, true);
    if (!item)
        return nullptr;
    if (source)
        item->CopyFrom(source); // IDs are not copied: the new ID stays
    if (category >= 0)
        item->SetCategoryID(category);
    return item;
}

std::int32_t CItemsArray2::InsertItem(std::unique_ptr<CBaseItem> item, bool setModified,
                                      std::int32_t position)
{
    if (!item)
        return -1;
    CBaseItem* raw = item.release();
    std::int32_t index = position;
    if (position >= 0 && position < m_Items.GetSize())
    {
        m_Items.InsertAt(position, raw);
        // The current item moved one place back with everything after it.
        if (m_CurrentIndex >= position)
            ++m_CurrentIndex;
    }
    else
    {
        index = m_Items.Add(raw);
    }
    m_Records.Add(raw);
    if (setModified)
        SetModified(true);
    return index;
}

void CItemsArray2::ReserveItems(std::int32_t count)
{
    if (count <= 0)
        return;
    m_Items.Reserve(m_Items.GetSize() + count);
    m_Records.Reserve(m_Records.GetSize() + count);
}

CBaseItem* CItemsArray2::AddNewItem(int kind, const CBaseItem* source, std::int32_t position,
                                    std::int32_t category)
{
    std::unique_ptr<CBaseItem> made = MakeNewItem(kind, source, category);
    if (!made)
        return nullptr;
    CBaseItem* item = made.get();
    InsertItem(std::move(made), true, position);
    SetFilterQuestion(false);
    if (position < 0 || !SetCurrentItem(item))
        Last();
    return item;
}

std::string CItemsArray2::GetMaxLayer() const
{
    std::string greatest;
    for (const CBaseItem* item : m_Items)
    {
        if (CompareLayerNumbers(item->GetLayersStr(), greatest, false) > 0)
            greatest = item->GetLayersStr();
    }
    RemoveAllWhitespace(greatest);
    if (greatest.empty())
        return "1";
    const std::string first = greatest.substr(0, greatest.find('.'));
    if (first.empty())
        return "1";
    int value = -1;
    if (!lf::sys::ReadNumber(first, value))
        value = -1;
    if (value < 0)
    {
        WriteLog("CItemsArray::GetMaxLayer() - worng layer value. Layer = " + first, 1, 1);
        value = 0;
    }
    return lf::sys::NumberText(static_cast<long long>(value) + 1);
}

std::unique_ptr<CBaseItem> CItemsArray2::SnapshotItem(const CBaseItem* item) const
{
    if (!item)
        return nullptr;
    // Made by kind alone: the collection's defaults for new items (author, chapter number) would be
    // overwritten anyway, and working out the chapter number walks the whole book.
    std::unique_ptr<CBaseItem> copy = MakeItemOfKind(item->GetQuestionType());
    if (!copy)
        return nullptr;
    copy->CopyFrom(item);
    // The copy stands for the same question: its identity, times and the user's answer come along.
    copy->SetID(item->GetID());
    copy->SetID_Str(item->GetID_Str());
    copy->SetModifierStr(item->GetModifierStr());
    copy->SetWhenCreated(item->GetWhenCreated());
    copy->SetLastModified(item->GetLastModified());
    copy->SetCommonUserAnswerInfo(item->GetCommonUserAnswerInfo());
    copy->SetSearchText(item->GetSearchText());
    copy->SetSearchTextFilled(item->IsSearchTextFilled());
    copy->SetDuplicateGroup(item->GetDuplicateGroup());
    if (const auto* calculated = item->GetCalculated())
        copy->GetCalculated()->SetCurrentDataset(calculated->GetCurrentDataset());
    return copy;
}

std::unique_ptr<CBaseItem> CItemsArray2::CopyItemForUndo(const CBaseItem* item) const
{
    return SnapshotItem(item);
}

// ---------------------------------------------------------------------------------------------------------
// Replacement and conversion

void CItemsArray2::RedirectItemPointers(const CBaseItem* oldItem, CBaseItem* newItem)
{
    if (!oldItem)
        return;
    if (m_KeptItem == oldItem)
        m_KeptItem = newItem;
    if (m_SavedFilter.currentItem == oldItem)
        m_SavedFilter.currentItem = newItem;
}

void CItemsArray2::PutInPlace(const CBaseItem* oldItem, CBaseItem* newItem)
{
    ReplaceInList(m_Items, oldItem, newItem);
    ReplaceInList(m_Records, oldItem, newItem);
    ReplaceInList(m_GridList, oldItem, newItem);
    RedirectItemPointers(oldItem, newItem);
}

std::unique_ptr<CBaseItem> CItemsArray2::ReplaceItemAt(std::int32_t index,
                                                       std::unique_ptr<CBaseItem>&& newItem, bool deleteOld)
{
    return ReplaceInPlace(GetItem(index), std::move(newItem), deleteOld);
}

std::unique_ptr<CBaseItem> CItemsArray2::ReplaceInPlace(CBaseItem* oldItem,
                                                        std::unique_ptr<CBaseItem>&& newItem, bool deleteOld)
{
    if (!newItem || !oldItem)
        return nullptr;
    PutInPlace(oldItem, newItem.release());
    std::unique_ptr<CBaseItem> old(oldItem);
    if (deleteOld)
        old.reset();
    return old;
}

std::unique_ptr<CBaseItem> CItemsArray2::ReplacePointer(std::unique_ptr<CBaseItem>&& newItem, bool deleteOld)
{
    return ReplaceItemAt(m_CurrentIndex, std::move(newItem), deleteOld);
}

std::unique_ptr<CBaseItem> CItemsArray2::ReplaceRecord(std::int32_t recordIndex,
                                                       std::unique_ptr<CBaseItem>&& newItem, bool deleteOld)
{
    return ReplaceInPlace(GetRecord(recordIndex), std::move(newItem), deleteOld);
}

void CItemsArray2::PrepareSearchInfo(CBaseItem* item)
{
    PrepareItemSearchInfo(item, SearchViewForBuilding(), /*force=*/false, /*question=*/true, /*answers=*/true,
                          /*feedback=*/true, /*keywords=*/true);
}

lf::RichDocument* CItemsArray2::SearchViewForBuilding()
{
    if (m_pSearchView)
        return m_pSearchView;
    // Without a view every item would stay unbuilt, never match a search, and the duplicate query would
    // log a line for every pair it compares.
    if (!m_pOwnSearchView)
        m_pOwnSearchView = std::make_unique<lf::RichDocument>();
    return m_pOwnSearchView.get();
}

void CItemsArray2::ConvertMatchingToMultipleChoice(CBaseItem* matching)
{
    const std::int32_t pairCount = matching->GetAnswerCount();
    for (std::int32_t i = 0; i < pairCount; ++i)
    {
        SAnswerItem* pair = nullptr;
        if (!matching->GetAnswer(i, pair))
            continue;
        const std::string subQuestion = pair->AnswerText;
        const std::string match = pair->Correct;

        CBaseItem* item = AddNewItem(qtMultipleChoice, matching, /*position=*/-1, /*category=*/-1);
        if (!item)
            return;
        item->SetName(matching->GetName() + " " + lf::sys::NumberText(i + 1));
        item->SetQuestionText(subQuestion);

        std::int32_t nextAnswerID = 1;
        SAnswerItem right;
        right.ID = nextAnswerID++;
        right.AnswerText = match;
        right.Correct = "1";
        item->AddAnswer(right);

        const std::int32_t wrongCount = std::min(pairCount - 1, 2);
        CIntArray drawn;
        for (std::int32_t w = 0; w < wrongCount; ++w)
        {
            std::int32_t other = 0;
            do
            {
                other = lf::sys::Random(pairCount);
            } while (other == i || std::find(drawn.begin(), drawn.end(), other) != drawn.end());
            drawn.Add(other);
            SAnswerItem* otherPair = nullptr;
            if (!matching->GetAnswer(other, otherPair))
                continue;
            SAnswerItem wrong;
            wrong.ID = nextAnswerID++;
            wrong.AnswerText = otherPair->Correct;
            wrong.Correct = "0";
            item->AddAnswer(wrong);
        }
        item->ShuffleAnswers();
        PrepareSearchInfo(item);
    }
}

bool ConvertItemTo(CItemsArray2& items, std::int32_t index, int kind, bool inPlace)
{
    CBaseItem* item = items.GetItem(index);
    if (!item)
        return true;
    if (inPlace && item->GetQuestionType() == kind)
        return true;
    if (!inPlace)
    {
        if (item->GetQuestionType() == qtMatching && kind == qtMultipleChoice)
        {
            items.ConvertMatchingToMultipleChoice(item);
            return true;
        }
        if (CBaseItem* made = items.AddNewItem(kind, item, /*position=*/-1, /*category=*/-1))
            items.PrepareSearchInfo(made);
        return true;
    }
    std::unique_ptr<CBaseItem> made = items.MakeNewItem(kind, item, -1);
    if (!made)
        return true;
    items.PrepareSearchInfo(made.get());
    items.ReplaceItemAt(index, std::move(made), true);
    // Without this the next save would take the book as unchanged and the conversion would be lost.
    items.SetModified(true);
    return true;
}

bool CItemsArray2::ConvertCurrentItemTo(int kind, bool inPlace)
{
    return ConvertItemTo(*this, m_CurrentIndex, kind, inPlace);
}

// ---------------------------------------------------------------------------------------------------------
// Chapters

bool CItemsArray2::GetCategoryAt(std::int32_t row, SCategoryInfo& info) const
{
    if (row < 0 || row >= m_Categories.GetSize())
        return false;
    info = m_Categories[row];
    return true;
}

std::int32_t CItemsArray2::GetCategoryIDAt(std::int32_t row) const
{
    if (row < 0 || row >= m_Categories.GetSize())
        return -1;
    return m_Categories[row].ID;
}

std::int32_t CItemsArray2::FindCategoryIndex(std::int32_t id) const
{
    for (std::int32_t row = 0; row < m_Categories.GetSize(); ++row)
    {
        if (m_Categories[row].ID == id)
            return row;
    }
    return -1;
}

std::int32_t CItemsArray2::FindCategoryIndexByName(const std::string& name) const
{
    for (std::int32_t row = 0; row < m_Categories.GetSize(); ++row)
    {
        if (m_Categories[row].Name == name)
            return row;
    }
    return -1;
}

bool CItemsArray2::CategoryExists(std::int32_t id, std::int32_t* row) const
{
    if (id < 0)
        return false;
    const std::int32_t found = FindCategoryIndex(id);
    if (found < 0)
        return false;
    if (row)
        *row = found;
    return true;
}

bool CItemsArray2::GetCategoryInfo(std::int32_t id, SCategoryInfo& info) const
{
    if (id == kTrashCategoryID)
    {
        info = SCategoryInfo{kTrashCategoryID, 0, "Trash", "Trash"};
        return true;
    }
    const std::int32_t row = FindCategoryIndex(id);
    if (row < 0)
        return false;
    info = m_Categories[row];
    return true;
}

std::string CItemsArray2::GetCategoryName(std::int32_t id) const
{
    SCategoryInfo info;
    return GetCategoryInfo(id, info) ? info.Name : std::string();
}

std::int32_t CItemsArray2::GetNextCategoryID() const
{
    if (m_Categories.GetSize() == 0)
        return 0;
    std::int32_t highest = m_Categories[0].ID;
    for (const auto& category : m_Categories)
        highest = std::max(highest, category.ID);
    return highest + 1;
}

bool CItemsArray2::AddCategory(const SCategoryInfo& info, bool newID, bool setModified, std::int32_t* row)
{
    if (IsBlankName(info.Name))
        return false;
    if (!newID && FindCategoryIndex(info.ID) >= 0)
        return false;
    SCategoryInfo record = info;
    if (newID)
        record.ID = GetNextCategoryID();
    const std::int32_t added = m_Categories.Add(record);
    if (setModified)
        SetModified(true);
    if (row)
        *row = added;
    return true;
}

std::int32_t CItemsArray2::GetOrAddCategoryByName(const std::string& name)
{
    const std::int32_t row = FindCategoryIndexByName(name);
    if (row >= 0)
        return row;
    if (name.empty())
        return -1;
    std::int32_t added = -1;
    if (!AddCategory(SCategoryInfo{0, -1, name, std::string()}, true, true, &added))
        return -1;
    return added;
}

bool CItemsArray2::RenameCategory(std::int32_t id, const std::string& name, const std::string& description)
{
    const std::int32_t row = FindCategoryIndex(id);
    if (row <= 0)
        return false;
    m_Categories[row].Name = name;
    m_Categories[row].Description = description;
    return true;
}

bool CItemsArray2::SetCategoryAt(std::int32_t row, const SCategoryInfo& info)
{
    if (row < 1 || row >= m_Categories.GetSize())
        return false;
    m_Categories[row] = info;
    return true;
}

bool CItemsArray2::DeleteCategory(std::int32_t id)
{
    const std::int32_t row = FindCategoryIndex(id);
    if (row <= 0)
        return false;
    m_Categories.RemoveAt(row);
    MoveItemsToCategory(id, 0);
    SetModified(true);
    return true;
}

bool CItemsArray2::MoveItemsToCategory(std::int32_t oldID, std::int32_t newID)
{
    if (FindCategoryIndex(newID) < 0)
        return true;
    bool moved = false;
    for (CBaseItem* item : m_Items)
    {
        if (item->GetCategoryID() == oldID && oldID != newID)
        {
            item->SetCategoryID(newID);
            moved = true;
        }
    }
    // Moved questions must reach the next save.
    if (moved)
        SetModified(true);
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Whole collection

bool CItemsArray2::Clear()
{
    for (CBaseItem* item : m_Items)
    {
        RedirectItemPointers(item, nullptr);
        delete item;
    }
    m_Items.RemoveAll();
    m_Records.RemoveAll();
    m_GridList.RemoveAll();
    // The entries name records by index; after this the same indexes belong to the next book's questions.
    m_BackupItem.Clear();
    m_CurrentIndex = -1;
    m_CurrentNumber = 0;
    m_SequenceCount = 0;
    m_Categories.RemoveAll();
    AddCategory(SCategoryInfo{0, -1, "Unfiled", "Default category"}, true, false);
    SetModified(false);
    ResetFilterOptions();
    return true;
}
