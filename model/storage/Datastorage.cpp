// The book storage: the open book's lifecycle (new, open, restore, append, close), the book list rescan and
// the plain search texts of a loaded book. The native XML book itself is in Datastorage_Xml.cpp.
#include "model/storage/Datastorage.h"

#include "model/storage/NativeBook.h"

#include "model/items/Datatypes.h"
#include "model/storage/Palmdatabase.h"
#include "model/storage/XmlUtils.h"
#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "model/support/Prefs.h"
#include "model/support/Utils.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/TextCase.h"

#include <filesystem>
#include <functional>
#include <system_error>

IStatusTextSink::~IStatusTextSink() = default;
IEventPump::~IEventPump() = default;
IMessageSink::~IMessageSink() = default;

CDataStorage* CDataStorage::m_pInstance = nullptr;

namespace
{

// True for an existing regular file longer than 0 bytes.
bool IsNonEmptyFile(const std::string& fileName)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error))
        return false;
    const auto size = std::filesystem::file_size(fileName, error);
    return !error && size > 0;
}

} // namespace

// --- Construction and accessors ---

CDataStorage::CDataStorage() : m_pDelQuestionList(std::make_unique<CDelQuestionList>())
{
    m_Items2.Clear();
    m_PdbItems.SetDelQuestionList(m_pDelQuestionList.get());
    m_pInstance = this;
}

CDataStorage::CDataStorage(const CPrefs& prefs) : CDataStorage()
{
    m_pPrefs = &prefs;
    m_Items2.SetSettingsSource(this);
}

int CDataStorage::QuestionStyle() const
{
    return m_pPrefs->GetViewMode();
}

const std::string& CDataStorage::AuthorName() const
{
    return m_pPrefs->m_AuthorId;
}

SStorageOptions CDataStorage::StorageOptions() const
{
    SStorageOptions options;
    if (m_pPrefs)
    {
        options.BooksDirectory = m_pPrefs->GetBooksDirectory();
        options.BackupDirectory = m_pPrefs->m_BackupDirectory;
    }
    return options;
}

CDataStorage::~CDataStorage()
{
    if (m_pInstance == this)
        m_pInstance = nullptr;
}

CDataStorage* CDataStorage::GetDataStorage()
{
    if (!m_pInstance)
        WriteLog("CDataStorage::GetDataStorage() = m_pInstance == NULL", 1, 1);
    return m_pInstance;
}

void CDataStorage::SetCurrentMode(std::uint8_t mode)
{
    m_CurrentMode = mode;
    m_Items2.SetCurrentMode(mode, /*refilter=*/false);
}

void CDataStorage::SetRichViews(lf::RichDocument* view, lf::RichDocument* edit)
{
    m_pHiddenView = view;
    m_pHiddenEdit = edit;
    m_Items2.SetSearchView(view);
}

bool CDataStorage::IsBookLoaded(const std::string* fileName) const
{
    return m_bLoaded != 0 && (!fileName || *fileName == m_FileName);
}

bool CDataStorage::IsCategoriesOnlyLoaded(const std::string* fileName) const
{
    return m_bCategoriesLoaded != 0 && (!fileName || *fileName == m_FileName);
}

bool CDataStorage::IsXmlRoot(const std::string& fileName, const std::string& elementName)
{
    std::error_code error;
    if (!std::filesystem::exists(fileName, error))
        return false;
    pugi::xml_document doc;
    const unsigned options =
        pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol | pugi::parse_wnorm_attribute;
    if (!LoadXmlFile(doc, fileName, options))
        return false;
    return static_cast<bool>(doc.child(elementName.c_str()));
}

void CDataStorage::PumpEvents()
{
    if (m_pEventPump)
        m_pEventPump->ProcessPendingEvents();
}

void CDataStorage::ShowStatus(const std::string& text)
{
    Progress().ShowStatus(text);
}

SBookProgress CDataStorage::Progress() const
{
    return SBookProgress{m_pStatusBar, m_pEventPump};
}

void CDataStorage::ShowWarning(const std::string& text)
{
    if (m_pMessageSink)
        m_pMessageSink->ShowWarning(text);
    else
        WriteLog(text, 1, 1);
}

// --- Book-level operations ---

bool CDataStorage::NewBook()
{
    m_Items2.Clear();
    m_Items2.AddNewItem(qtMultipleChoice, /*source=*/nullptr, /*position=*/-1, /*category=*/-1);
    // A new book has nothing to save until the user changes it.
    m_Items2.SetModified(false);
    m_Items2.First();
    m_FileName.clear();
    m_bLoaded = 1;
    m_bCategoriesLoaded = 0;
    m_BookIndex = -1;
    return true;
}

bool CDataStorage::OpenBook(const std::string& fileName, bool categoriesOnly)
{
    if (fileName == m_FileName && m_bLoaded)
        return true;
    m_bLoaded = 0;
    m_bCategoriesLoaded = 0;

    if (IsNonEmptyFile(fileName))
    {
        bool asNative = false;
        const bool result =
            ReadBookFile(fileName, &m_Items2, {.replace = true, .categoriesOnly = categoriesOnly}, &asNative);
        // The handheld database reader always reads the whole book.
        if (categoriesOnly && asNative)
            m_bCategoriesLoaded = result ? 1 : 0;
        else
            m_bLoaded = result ? 1 : 0;
        if (m_bLoaded || m_bCategoriesLoaded)
        {
            m_FileName = fileName;
            m_Items2.SetModified(false);
        }
        return m_bLoaded || (categoriesOnly && m_bCategoriesLoaded);
    }

    ShowWarning("ERROR. File is corrupted. Try to use the restore feature in Edit Phase.");
    m_bLoaded = NewBook() ? 1 : 0;
    m_FileName = fileName;
    return true;
}

bool CDataStorage::RestoreBook(const std::string& fileName)
{
    if (!IsNonEmptyFile(fileName))
    {
        ShowWarning("ERROR. The backup file is empty. Try to use a different one.");
        m_bLoaded = 0;
        return false;
    }
    m_bLoaded = ReadBookFile(fileName, &m_Items2, {.replace = true}, nullptr) ? 1 : 0;
    if (m_bLoaded)
    {
        m_Items2.SetModified(true);
        m_FileName = m_PrevFileName;
    }
    return m_bLoaded != 0;
}

bool CDataStorage::AppendBook(const std::string& fileName)
{
    // A failed append leaves the open book as it was, still loaded: the readers refuse a book before they
    // add anything to a collection they do not replace.
    if (!IsNonEmptyFile(fileName))
    {
        ShowWarning("ERROR. The file is corrupted. Try to use the restore feature in Edit Phase.");
        return false;
    }
    const std::int32_t offset = m_Items2.GetNextCategoryID() - 1;
    const bool result = ReadBookFile(fileName, &m_Items2,
                                     {.categoryOffset = offset > 0 ? offset : 0, .moodle = true}, nullptr);
    if (!result)
        return false;
    m_bLoaded = 1;
    // The merged questions are new to the open book's file and must be offered for saving.
    m_Items2.SetModified(true);
    return true;
}

void CDataStorage::CloseBook()
{
    m_Items2.Clear(); // also empties the undo history and leaves the book unmodified
    SetCurrentMode(kNoMode);
    m_bLoaded = 0;
    m_bCategoriesLoaded = 0;
    m_PrevFileName = m_FileName;
    m_FileName.clear();
}

bool CDataStorage::ReloadBookList()
{
    WriteLog("ReloadBookList()", 6, 1);
    m_BookList.RemoveAll();
    std::string folder = StorageOptions().BooksDirectory;
    if (folder.empty())
        folder = GetDefaultBooksFolder();
    m_BookList.ScanBooks(folder);
    // The entries were renumbered: an index kept from before would name another book or none.
    m_BookIndex = m_FileName.empty() ? -1 : m_BookList.IndexOf(m_FileName);
    return m_BookList.GetCount() > 0;
}

void CDataStorage::PrepareContent()
{
    if (!m_bLoaded)
        return;
    ShowStatus("Prepare content...");
    for (std::int32_t i = 0; i < m_Items2.GetCount(); ++i)
    {
        PumpEvents();
        CBaseItem* item = m_Items2.GetItem(i);
        if (!item || item->TestStatus(qsDeleted) || !m_pHiddenView)
            continue;
        PrepareItemSearchInfo(item, m_pHiddenView, /*force=*/false, /*question=*/true, /*answers=*/true,
                              /*feedback=*/true, /*keywords=*/true);
    }
    ShowStatus("");
}

IPictureRework::~IPictureRework() = default;

bool CDataStorage::ReformatRichTexts(CItemsArray2* items, bool selectedOnly,
                                     const SPictureReformatSettings& settings)
{
    if (!m_pPictureRework)
    {
        WriteLog("CDataStorage::ReformatRichTexts - the picture rework is not installed", 1, 1);
        return false;
    }
    if (!items)
        return false;
    bool changed = false;
    // Reworks one text; true when it came back different.
    const auto rework = [&](std::string text, const std::function<void(std::string &&)>& store)
    {
        const std::string before = text;
        m_pPictureRework->ReformatRichTextPictures(text, m_pHiddenView, m_pHiddenEdit, settings);
        if (text == before)
            return;
        store(std::move(text));
        changed = true;
    };
    // Questions reworked before a stop stay reworked: the book must be offered for saving then too.
    const auto stop = [&](const std::string& reason)
    {
        WriteLog("CDataStorage::ReformatRichTexts - ERROR, " + reason, 1, 1);
        if (changed)
            items->SetModified(true);
        return false;
    };
    for (std::int32_t i = 0; i < items->GetCount(); ++i)
    {
        PumpEvents();
        CBaseItem* item = items->GetItem(i);
        if (!item)
            return stop("the question cannot be read");
        if (item->GetQuestionType() != qtMultipleChoice || !item->IsInSequence() ||
            item->TestStatus(qsDeleted | qsInTrash) || (selectedOnly && !item->TestStatus(qsSelected)))
            continue;
        rework(item->GetQuestionText(),
               [item](std::string&& text) { item->SetQuestionText(std::move(text)); });
        const std::int32_t answerCount = item->GetAnswerCount();
        for (std::int32_t j = 0; j < answerCount; ++j)
        {
            SAnswerItem* answer = nullptr;
            if (!item->GetAnswer(j, answer))
                return stop("the answer cannot be read");
            rework(answer->AnswerText,
                   [answer](std::string&& text) { answer->AnswerText = std::move(text); });
        }
        rework(item->GetGeneralFeedback(),
               [item](std::string&& text) { item->SetGeneralFeedback(std::move(text)); });
    }
    items->SetModified(true);
    return true;
}

// --- Formats of other units ---

bool CDataStorage::LoadPDB(const std::string& fileName, CItemsArray2* items, std::int32_t categoryOffset,
                           bool replace)
{
    // The reader writes the storage's log lines itself ("CDataStorage::LoadPDB, File name - " first).
    if (!items)
    {
        WriteLog("CDataStorage::LoadPDB, File name - " + fileName, 5, 1);
        return false;
    }
    return LoadPalmDatabase(fileName, *items, categoryOffset, replace, m_CurrentMode);
}

bool CDataStorage::SavePDB(const std::string& fileName, CItemsArray2* items, const std::string& typeCode,
                           bool clearModified, bool keepName)
{
    // A handheld copy is not the book's own file: the book keeps the changes it still has to save.
    (void)clearModified;
    if (fileName.empty() || !items)
        return false;
    SPalmWriteContext context;
    context.typeCode = typeCode;
    context.keepName = keepName;
    context.hiddenView = m_pHiddenView;
    // The deleted-items file is written below, through the storage, once the book is on disk.
    context.deletedItems = nullptr;
    context.booksFolder = StorageOptions().BooksDirectory;
    if (!SavePalmDatabase(fileName, *items, context))
        return false;
    SaveDeletedIDs();
    return true;
}

// --- Exchange formats (the interchange library's, handed to the storage) ---

IExchangeFormats::~IExchangeFormats() = default;

namespace
{

bool ExchangeFormatsMissing(const char* operation)
{
    WriteLog(std::string(operation) + " - the exchange formats are not installed", 1, 1);
    return false;
}

} // namespace

bool CDataStorage::LoadMoodleXML(const std::string& fileName, CItemsArray2* items, bool clearFirst)
{
    if (!m_pExchangeFormats)
        return ExchangeFormatsMissing("CDataStorage::LoadMoodleXML");
    return m_pExchangeFormats->LoadMoodleXML(*this, fileName, items, clearFirst);
}

bool CDataStorage::SaveMooldeXML(const std::string& fileName, CItemsArray2* items, bool flag1, bool flag2,
                                 bool keepName)
{
    (void)flag1;
    (void)flag2;
    if (!m_pExchangeFormats)
        return ExchangeFormatsMissing("CDataStorage::SaveMooldeXML");
    return m_pExchangeFormats->SaveMooldeXML(*this, fileName, items, keepName);
}

bool CDataStorage::LoadCSV(const std::string& fileName, CItemsArray2* items, const std::string& separator,
                           bool clearFirst)
{
    if (!m_pExchangeFormats)
        return ExchangeFormatsMissing("CDataStorage::LoadCSV");
    return m_pExchangeFormats->LoadDelimitedText(*this, 0, fileName, items, separator, clearFirst);
}

bool CDataStorage::LoadQuizletTXT(const std::string& fileName, CItemsArray2* items,
                                  const std::string& separator, bool clearFirst)
{
    if (!m_pExchangeFormats)
        return ExchangeFormatsMissing("CDataStorage::LoadQuizletTXT");
    return m_pExchangeFormats->LoadDelimitedText(*this, 1, fileName, items, separator, clearFirst);
}

bool CDataStorage::LoadFlashCardExchangeTSV(const std::string& fileName, CItemsArray2* items,
                                            const std::string& separator, bool clearFirst)
{
    if (!m_pExchangeFormats)
        return ExchangeFormatsMissing("CDataStorage::LoadFlashCardExchangeTSV");
    return m_pExchangeFormats->LoadDelimitedText(*this, 2, fileName, items, separator, clearFirst);
}

bool CDataStorage::SaveToCSV(const std::string& fileName, CItemsArray2* items, const std::string& separator,
                             bool withExplanation, bool keepName)
{
    if (!m_pExchangeFormats)
        return ExchangeFormatsMissing("CDataStorage::SaveToCSV");
    return m_pExchangeFormats->SaveDelimitedText(*this, true, fileName, items, separator, withExplanation,
                                                 keepName);
}

bool CDataStorage::SaveToTXT(const std::string& fileName, CItemsArray2* items, const std::string& separator,
                             bool withExplanation, bool keepName)
{
    if (!m_pExchangeFormats)
        return ExchangeFormatsMissing("CDataStorage::SaveToTXT");
    return m_pExchangeFormats->SaveDelimitedText(*this, false, fileName, items, separator, withExplanation,
                                                 keepName);
}

CBaseItem* CDataStorage::AddQuestionFromFields(const CStringArray& fields, CItemsArray2* items, int kind,
                                               std::int32_t position, bool recordUndo)
{
    if (!m_pExchangeFormats)
    {
        ExchangeFormatsMissing("CDataStorage::AddQuestionFromFields");
        return nullptr;
    }
    return m_pExchangeFormats->AddQuestionFromRow(false, fields, items, kind, position, recordUndo);
}

CBaseItem* CDataStorage::AddQuestionFromExcelRow(const CStringArray& fields, CItemsArray2* items, int kind,
                                                 std::int32_t position, bool recordUndo)
{
    if (!m_pExchangeFormats)
    {
        ExchangeFormatsMissing("CDataStorage::AddQuestionFromExcelRow");
        return nullptr;
    }
    return m_pExchangeFormats->AddQuestionFromRow(true, fields, items, kind, position, recordUndo);
}

bool CDataStorage::CopyToClipboardForExcel(CItemsArray2* items, const std::string& separator,
                                           bool withExplanation)
{
    if (!m_pExchangeFormats)
        return ExchangeFormatsMissing("CDataStorage::CopyToClipboardForExcel");
    return m_pExchangeFormats->CopySelectionToClipboard(*this, true, items, separator, withExplanation);
}

bool CDataStorage::CopyToClipboardForFlashCardExchange(CItemsArray2* items, const std::string& separator,
                                                       bool withExplanation)
{
    if (!m_pExchangeFormats)
        return ExchangeFormatsMissing("CDataStorage::CopyToClipboardForFlashCardExchange");
    return m_pExchangeFormats->CopySelectionToClipboard(*this, false, items, separator, withExplanation);
}

bool CDataStorage::SaveKindleXML(const std::string& fileName, CItemsArray2* items, bool flag1, bool flag2,
                                 bool keepName)
{
    (void)flag1;
    (void)flag2;
    if (fileName.empty())
        return false;
    if (!m_pExchangeFormats)
        return ExchangeFormatsMissing("CDataStorage::SaveKindleXML");
    return m_pExchangeFormats->SaveReaderBook(*this, fileName, items, keepName);
}
