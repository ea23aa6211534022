// The one book storage of the running program: it owns the open book, the book list, the clipboard archive
// and the deleted-items list, keeps the open book's file name, the loaded flags and the phase, and performs
// every read and write of book files. It needs no window: the main window hands it a status-text sink, an
// event pump, a message sink and its hidden rich-text views through the small interfaces below.
#pragma once

#include "model/collection/Deleteditemsarray.h"
#include "model/collection/Itemsarray.h"
#include "model/storage/Booklist.h"
#include "model/storage/ClipboardArchive.h"
#include "model/storage/Itemsarrayrecords.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

class CBaseItem;
class CPrefs;
namespace lf
{
class RichDocument;
}

// Where the storage's progress texts go (the main window's status bar).
class IStatusTextSink
{
public:
    virtual ~IStatusTextSink();
    virtual void SetStatusText(const std::string& text) = 0;
    // How far a long read or write has come (done of total); a sink without a progress display ignores
    // it.
    virtual void SetProgress(std::int64_t done, std::int64_t total)
    {
        (void)done;
        (void)total;
    }
};

// Lets pending window events run, user input excluded, during long reads and writes.
class IEventPump
{
public:
    virtual ~IEventPump();
    virtual void ProcessPendingEvents() = 0;
};

// Shows the storage's warnings to the user (a warning box with an OK button in the main window).
class IMessageSink
{
public:
    virtual ~IMessageSink();
    virtual void ShowWarning(const std::string& text) = 0;
    // Shows an error (an error box with an OK button); a sink without one shows it as a warning.
    virtual void ShowError(const std::string& text) { ShowWarning(text); }
    // Asks a Yes/No question before an existing file is replaced; true for Yes. A sink that cannot ask
    // answers No, so nothing is overwritten unasked.
    virtual bool ConfirmOverwrite(const std::string& question)
    {
        (void)question;
        return false;
    }
};

// The picture settings of the book-wide picture commands, passed through to the picture rework unchanged.
struct SPictureReformatSettings
{
    bool toPng = false;
    bool shrink = false;
    std::int32_t maxWidth = 500;
    std::int32_t maxHeight = 500;
    bool scale = false;
    bool onlyUnscaled = false;
    std::int32_t percent = 100;
    bool symbolFont = false;
};

// The picture rework of one stored text, handed to the storage by the program from the library that renders
// pictures:
// reworks the text in place through the storage's hidden view and editor as the settings say. Its result
// is not used; a text it cannot rework stays as it was.
class IPictureRework
{
public:
    virtual ~IPictureRework();
    virtual bool ReformatRichTextPictures(std::string& text, lf::RichDocument* view, lf::RichDocument* edit,
                                          const SPictureReformatSettings& settings) = 0;
};

class CDataStorage;

// The exchange formats (quiz files, delimited text for spreadsheets and flash-card sites) live in the
// interchange library; the program hands its readers and writers to the storage at start-up. Each operation
// gets the storage for its status bar, event pump and hidden view.
class IExchangeFormats
{
public:
    virtual ~IExchangeFormats();
    virtual bool LoadMoodleXML(CDataStorage& storage, const std::string& fileName, CItemsArray2* items,
                               bool clearFirst) = 0;
    virtual bool SaveMooldeXML(CDataStorage& storage, const std::string& fileName, CItemsArray2* items,
                               bool keepName) = 0;
    // format: 0 CSV (quoted fields may run over lines), 1 Quizlet text, 2 FlashCardExchange TSV.
    virtual bool LoadDelimitedText(CDataStorage& storage, int format, const std::string& fileName,
                                   CItemsArray2* items, const std::string& separator, bool clearFirst) = 0;
    // csv: CSV fields (quoted where needed), else plain fields.
    virtual bool SaveDelimitedText(CDataStorage& storage, bool csv, const std::string& fileName,
                                   CItemsArray2* items, const std::string& separator, bool withExplanation,
                                   bool keepName) = 0;
    // excelRow: the 14- or 15-column spreadsheet row, else the 2-to-5-field question row.
    virtual CBaseItem* AddQuestionFromRow(bool excelRow, const CStringArray& fields, CItemsArray2* items,
                                          int kind, std::int32_t position, bool recordUndo) = 0;
    // The reader book (".lnf2") of items with its pictures.
    virtual bool SaveReaderBook(CDataStorage& storage, const std::string& fileName, CItemsArray2* items,
                                bool keepName) = 0;
    // excel: spreadsheet fields, else plain flash-card fields.
    virtual bool CopySelectionToClipboard(CDataStorage& storage, bool excel, CItemsArray2* items,
                                          const std::string& separator, bool withExplanation) = 0;
};

struct SBookProgress;
namespace pugi
{
class xml_node;
}

// What the storage takes from the options object, read at its edge (CDataStorage::StorageOptions) and
// handed down as values; empty texts for a storage without options.
struct SStorageOptions
{
    std::string BooksDirectory;  // the books folder as stored
    std::string BackupDirectory; // copies of a book without a book-list entry
};

// How a whole book file is read into a collection.
struct SBookReadOptions
{
    // Added to chapter IDs above 0 (a book merged into the open one).
    std::int32_t categoryOffset = 0;
    // The collection is emptied first.
    bool replace = false;
    // A native book gives its chapters only.
    bool categoriesOnly = false;
    // A Moodle quiz file is taken too (the storage's recognition by content only).
    bool moodle = false;
};

class CDataStorage : private ICollectionSettings
{
public:
    // Phase value of "no phase".
    static constexpr std::uint8_t kNoMode = ToNumber(EPhase::None);

    // A storage without options finds no books folder and leaves its book the style set on it.
    CDataStorage();
    // The storage and its open book read the folders, the question style and the author's name from the
    // options whenever they need them (not owned; the options outlive the storage).
    explicit CDataStorage(const CPrefs& prefs);
    virtual ~CDataStorage();
    CDataStorage(const CDataStorage&) = delete;
    CDataStorage& operator=(const CDataStorage&) = delete;

    // The one instance; null (logged) while none exists.
    static CDataStorage* GetDataStorage();

    // The folders the storage takes from its options, as they stand now (empty without options). The book
    // list, the backups and the deleted-items file read them here, once per operation, and pass them on as
    // values.
    SStorageOptions StorageOptions() const;

    // --- Accessors ---

    CItemsArray2* GetItemsPtr2() { return &m_Items2; }
    // The storage's handheld record image; it stays empty (the database reader and writer build their own).
    CItemsArray* GetItemsPtr() { return &m_PdbItems; }
    CBookList* GetBookList() { return &m_BookList; }
    CClipboardArchive* GetClipboardArchive() { return &m_ClipboardArchive; }
    CDelQuestionList* GetDelQuestionList() { return m_pDelQuestionList.get(); }
    std::int32_t GetCurrentBookIndex() const { return m_BookIndex; }
    void SetCurrentBookIndex(std::int32_t index) { m_BookIndex = index; }
    std::uint8_t GetCurrentMode() const { return m_CurrentMode; }
    // Stores the phase and hands it to the open book's filter settings read signed (255 arrives as -1),
    // without rebuilding the sequence.
    void SetCurrentMode(std::uint8_t mode);
    void SetCurrentMode(EPhase phase) { SetCurrentMode(ToNumber(phase)); }
    EPhase GetPhase() const { return PhaseFromNumber(m_CurrentMode); }
    const std::string& GetFileName() const { return m_FileName; }
    const std::string& GetPrevFileName() const { return m_PrevFileName; }

    // The main window's hidden read-only view (search texts) and hidden editor (picture rework); not owned.
    // The view also goes to the open book, which builds search texts with it.
    void SetRichViews(lf::RichDocument* view, lf::RichDocument* edit);
    void SetStatusBar(IStatusTextSink* statusBar) { m_pStatusBar = statusBar; }
    void SetEventPump(IEventPump* pump) { m_pEventPump = pump; }
    void SetMessageSink(IMessageSink* sink) { m_pMessageSink = sink; }
    IStatusTextSink* GetStatusBar() const { return m_pStatusBar; }
    IEventPump* GetEventPump() const { return m_pEventPump; }
    lf::RichDocument* GetHiddenView() const { return m_pHiddenView; }
    // The exchange formats this storage reads and writes through (not owned; null removes them).
    void SetExchangeFormats(IExchangeFormats* formats) { m_pExchangeFormats = formats; }
    // The picture-name prefix of a running quiz export: the quiz writer sets it for the length of the
    // export and its rich-text-to-HTML step names the picture files it writes with it; empty otherwise.
    const std::string& GetMoodlePicturePrefix() const { return m_MoodlePicturePrefix; }
    void SetMoodlePicturePrefix(std::string prefix) { m_MoodlePicturePrefix = std::move(prefix); }

    // A whole book is loaded (and, when a name is given, it is that file: exact comparison).
    bool IsBookLoaded(const std::string* fileName = nullptr) const;
    // Only the chapters of a book are loaded (and, when a name is given, of that file).
    bool IsCategoriesOnlyLoaded(const std::string* fileName = nullptr) const;
    // True when the file exists, parses as XML and has a top-level element elementName (case-sensitive).
    static bool IsXmlRoot(const std::string& fileName, const std::string& elementName);

    // --- Book-level operations ---

    // Empties the open book and gives it one new multiple-choice question; no file name. True.
    bool NewBook();
    // Opens a book file, recognised by content: root `Lernfold` is the native book, any other non-empty file
    // the handheld database. A missing or empty file gives a warning and a new one-question book under the
    // requested name (true). A file that fails to read leaves no book loaded and gives false, silently.
    bool OpenBook(const std::string& fileName, bool categoriesOnly = false);
    // Reads a backup copy in place of the book closed last, under its name, marked modified. False (after a
    // warning for a missing or empty file) when it cannot be read.
    bool RestoreBook(const std::string& fileName);
    // Merges another book into the open one, its chapters moved past the open book's highest chapter ID.
    // On success the book is marked modified; on failure the open book stays as it was.
    bool AppendBook(const std::string& fileName);
    // Forgets the open book: undo history, items, phase and flags; its name becomes the previous name.
    void CloseBook();
    // Rescans the books folder into the book list; true when the list holds a book. The open book's index
    // is looked up again (-1 when the list no longer holds it).
    bool ReloadBookList();
    // Builds the plain search text of every item of a loaded book through the hidden view.
    void PrepareContent();
    // Reworks the pictures of the question text, every answer text and the explanation of the multiple-choice
    // questions of the sequence (only the selected ones with selectedOnly) that are neither deleted nor in
    // the Trash, in book order, through the installed picture rework and the hidden view and editor; pending
    // events run before each question. The book is marked modified when the walk ends, and whenever a text
    // was changed also when it stops early. False, logged, at a question or answer that cannot be read,
    // and without an installed rework or a collection.
    bool ReformatRichTexts(CItemsArray2* items, bool selectedOnly, const SPictureReformatSettings& settings);
    // The picture rework this storage goes through (not owned; null removes it).
    void SetPictureRework(IPictureRework* rework) { m_pPictureRework = rework; }

    // --- The native XML book (Datastorage_Xml.cpp) ---

    // Writes the whole collection as a book file through a temporary file and a rename; unless keepName,
    // ".lnf" is appended to a name that ends neither in ".lnf" nor ".pdb" (any case). False for an empty
    // name or a failed write, which leaves the old file untouched.
    bool SaveXML(const std::string& fileName, CItemsArray2* items, bool clearModified, bool keepName = false);
    void SaveCategoriesToXML(pugi::xml_node parent, const CItemsArray2* items);
    bool SaveQuestionsToXML(pugi::xml_node parent, CItemsArray2* items, bool filter, bool sequenceOnly,
                            bool selectedOnly, bool withCategoryName);
    bool SaveAnswersToXML(pugi::xml_node question, CBaseItem* item);
    bool SaveUnitsToXML(pugi::xml_node question, CBaseItem* item);
    bool SaveVariablesToXML(pugi::xml_node question, CBaseItem* item);

    // Reads a book file into items (emptied first with replace). False for a missing file, a parse error,
    // no root `Lernfold` or a `Version` below 1.
    bool LoadXML(const std::string& fileName, CItemsArray2* items, std::int32_t categoryOffset, bool replace,
                 bool categoriesOnly);
    // Adds the chapters of root, IDs and parent IDs above 0 moved by categoryOffset. True.
    bool AddCategoriesFromArrayToXML(pugi::xml_node root, CItemsArray2* items, std::int32_t version,
                                     std::int32_t categoryOffset);
    // Reads every `Question` of root in order into items at insertPosition (-1 appends), skipping unknown
    // kinds and questions deleted for good. With releaseRead each element is removed from the document once
    // read, so a whole book is not held twice in memory. True.
    bool LoadQuestionsFromXML(pugi::xml_node root, CItemsArray2* items, std::int32_t version,
                              std::int32_t categoryOffset, std::int32_t insertPosition, bool fixedCategory,
                              std::int32_t fixedCategoryID, bool withUndo, bool mapByName, bool selectFirst,
                              bool releaseRead = false);
    bool LoadAnswersFromXML(pugi::xml_node question, CBaseItem* item, std::int32_t version);
    bool LoadUnitsFromXML(pugi::xml_node question, CBaseItem* item, std::int32_t version);
    bool LoadVariablesFromXML(pugi::xml_node question, CBaseItem* item, std::int32_t version);

    // --- The book with embedded media (Datastorage_Media.cpp) ---

    // Writes the native book plus a `Contents` section holding every picture, sound and linked file the
    // items name, streamed through a temporary file and a rename; unless keepName, ".lnf4" is appended to a
    // name not ending in it (any case). False for an empty name or a failed write (the old file stays).
    bool SaveWithContentXML(const std::string& fileName, CItemsArray2* items, bool clearModified,
                            bool keepName = false);
    // The name SaveWithContentXML writes under.
    static std::string ContentBookFileName(const std::string& fileName, bool keepName);
    // Appends `Contents` with one `Content` per embeddable file the items name. False when an answer
    // cannot be fetched.
    bool SaveContentsToXML(pugi::xml_node root, CItemsArray2* items);
    // Reads a book with embedded media: its files go into the open book's media folder first, then its
    // chapters and questions are read as a merge (emptied first with replace). False as LoadXML.
    bool LoadWithContentXML(const std::string& fileName, CItemsArray2* items, std::int32_t categoryOffset,
                            bool replace);
    // Writes every `Content` of root into the open book's media folder; a name that could lead outside
    // it, text that is not hexadecimal or a file that cannot be written is skipped (logged). True.
    bool LoadContentsFromXML(pugi::xml_node root, CItemsArray2* items, std::int32_t version);

    // --- Question sets on the clipboard (Datastorage_Clipboard.cpp) ---

    // Puts the questions that are in the sequence and selected in the question list on the clipboard as
    // native XML text, each with its chapter name. True.
    bool CopyToClipboardAsXML(CItemsArray2* items);
    // Pastes the clipboard's question set (archiveIndex < 0) or the archive's set archiveIndex into items
    // at insertPosition (-1 appends), each question with its undo entry, into the viewed chapter or, with
    // mapByName, the chapter its `CategoryName` names. The first pasted question is kept to return to after
    // the caller's rebuild; the collection is left without a position and marked modified. False for no
    // clipboard text, a missing archive entry (logged), text that is not XML or a `Version` below 1; true
    // without change for another root.
    bool PasteFromClipboard(CItemsArray2* items, std::int32_t insertPosition, std::int32_t archiveIndex,
                            bool mapByName);

    // --- Saving, Save As, backup copies and the deleted-items file (Datastorage_Save.cpp) ---

    // Writes the open book as a native book to its own file; true without writing when that file exists
    // and the book is unchanged; false for a book without a file name or a failed write.
    bool SaveBook();
    // Writes the open book under fileName in the format its extension names: ".pdb" and ".lnf3" the
    // handheld database (the book keeps its name, list entry and changes), ".lnf2" the reader book, any
    // other the native book. For a native book the name actually written (".lnf" appended where the
    // writer adds it) goes into the book list and, with makeCurrent, becomes the open book's file. When
    // the writer's extension makes the name that of another existing file, the message sink is asked
    // first; No writes nothing and returns false with IsSaveDeclined() set. A failed save changes nothing.
    bool SaveBookAs(const std::string& fileName, bool makeCurrent);
    // True when the last SaveBookAs returned false because the user declined to overwrite a file.
    bool IsSaveDeclined() const { return m_bSaveDeclined; }
    // The folder backup copies go to, created when missing: the open book's book-list folder + "Temp/",
    // or the options' backup folder for a book without an entry. False (after the error message) when it
    // cannot be created; true with an empty folder when none is set.
    bool GetBackupFolder(std::string& folder);
    // Writes a time-stamped native copy "<book>_(yyyy_mm_dd_hh_mm_ss).bnf" of the open book into the
    // backup folder; the book's file and modified flag are left alone. False when there is no folder or
    // the write fails.
    bool MakeBackup();
    // Deletes the copies of the open book in the backup folder beyond the 12 newest (by file date). Only
    // names made for this book match: its base name is compared literally.
    void PurgeBackups();
    // Writes the deleted-items list to "Lernfold.del" at the place kept in the registry value
    // `DeleteQuestionList` (the books folder the first time). Failures are only logged.
    void SaveDeletedIDs();

    // --- The handheld database book (model/Palmdatabase.h) ---

    // Reads a handheld database into items, its chapters at categoryOffset + category index (emptied first
    // with replace). False for a missing or broken file, which leaves items as they were.
    bool LoadPDB(const std::string& fileName, CItemsArray2* items, std::int32_t categoryOffset, bool replace);
    // Writes the multiple-choice questions of items as a handheld database with the header's typeCode,
    // then the deleted-items file. The book's modified flag is left alone whatever clearModified says: the
    // copy is not the book's own file. False for an empty name or a failed write (the old file stays).
    bool SavePDB(const std::string& fileName, CItemsArray2* items, const std::string& typeCode,
                 bool clearModified, bool keepName = false);

    // --- Exchange formats, through the IExchangeFormats handed over; without them each logs and fails ---

    // Appends the questions of a quiz file (root `quiz`) to items, emptied first with clearFirst. False
    // for a missing file, a parse error or another root.
    bool LoadMoodleXML(const std::string& fileName, CItemsArray2* items, bool clearFirst);
    // Writes the questions of items that are neither deleted nor in the Trash as a quiz file (".xml"
    // appended unless keepName), pictures beside it. The two flags are not read. False for an empty name
    // or a failed write, which leaves an old file whole.
    bool SaveMooldeXML(const std::string& fileName, CItemsArray2* items, bool flag1, bool flag2,
                       bool keepName = false);
    // Delimited-text imports: every row becomes a multiple-choice question appended to items. True when
    // at least one row made a question.
    bool LoadCSV(const std::string& fileName, CItemsArray2* items, const std::string& separator,
                 bool clearFirst);
    bool LoadQuizletTXT(const std::string& fileName, CItemsArray2* items, const std::string& separator,
                        bool clearFirst);
    bool LoadFlashCardExchangeTSV(const std::string& fileName, CItemsArray2* items,
                                  const std::string& separator, bool clearFirst);
    // Delimited-text exports of the multiple-choice questions: question, answer and, when asked, the
    // explanation. False for an empty name, nothing to export or a failed write (an old file stays whole).
    bool SaveToCSV(const std::string& fileName, CItemsArray2* items, const std::string& separator,
                   bool withExplanation, bool keepName = false);
    bool SaveToTXT(const std::string& fileName, CItemsArray2* items, const std::string& separator,
                   bool withExplanation, bool keepName = false);
    // A multiple-choice question from 2 to 5 fields, or from a spreadsheet row of 14 or 15 columns,
    // inserted at position (-1 appends), with its undo entry when recordUndo. Null when the row is short.
    CBaseItem* AddQuestionFromFields(const CStringArray& fields, CItemsArray2* items, int kind,
                                     std::int32_t position, bool recordUndo);
    CBaseItem* AddQuestionFromExcelRow(const CStringArray& fields, CItemsArray2* items, int kind,
                                       std::int32_t position, bool recordUndo);
    // The selected multiple-choice questions of the question list on the clipboard as lines of
    // spreadsheet fields, or of plain flash-card fields.
    bool CopyToClipboardForExcel(CItemsArray2* items, const std::string& separator, bool withExplanation);
    bool CopyToClipboardForFlashCardExchange(CItemsArray2* items, const std::string& separator,
                                             bool withExplanation);

    // The reader book: the multiple-choice questions of items as a "book" XML (".lnf2" appended unless
    // keepName), their pictures as GIF files in a folder named after it. The two flags are not read.
    // False for an empty name (nothing logged), a failed write, or a book that could be written only in
    // part.
    bool SaveKindleXML(const std::string& fileName, CItemsArray2* items, bool flag1, bool flag2,
                       bool keepName = false);

private:
    // The open book's settings, read from the options when it needs them.
    int QuestionStyle() const override;
    const std::string& AuthorName() const override;
    // Shows a progress text (skipped without a sink) and lets pending events run.
    void ShowStatus(const std::string& text);
    void PumpEvents();
    void ShowWarning(const std::string& text);
    void ShowError(const std::string& text);
    // The status bar and event pump as the book readers and writers take them.
    SBookProgress Progress() const;
    // Reads a non-empty book file as recognised by content (native book with the parse made here, else the
    // handheld database); options.moodle allows the quiz reader for a root `quiz`. asNative, when given,
    // tells whether the file was taken for a native book.
    bool ReadBookFile(const std::string& fileName, CItemsArray2* items, const SBookReadOptions& options,
                      bool* asNative);

    static CDataStorage* m_pInstance;

    const CPrefs* m_pPrefs = nullptr;               // not owned
    IExchangeFormats* m_pExchangeFormats = nullptr; // not owned
    IPictureRework* m_pPictureRework = nullptr;     // not owned

    std::string m_FileName;
    std::string m_PrevFileName;
    std::uint8_t m_bLoaded = 0;
    std::uint8_t m_bCategoriesLoaded = 0;
    std::int32_t m_BookIndex = -1;
    CItemsArray m_PdbItems;
    CItemsArray2 m_Items2;
    CBookList m_BookList;
    std::uint8_t m_CurrentMode = kNoMode;
    std::unique_ptr<CDelQuestionList> m_pDelQuestionList;
    lf::RichDocument* m_pHiddenView = nullptr; // not owned
    lf::RichDocument* m_pHiddenEdit = nullptr; // not owned
    IStatusTextSink* m_pStatusBar = nullptr;   // not owned
    IEventPump* m_pEventPump = nullptr;        // not owned
    IMessageSink* m_pMessageSink = nullptr;    // not owned
    bool m_bSaveDeclined = false;
    std::string m_MoodlePicturePrefix;
    CClipboardArchive m_ClipboardArchive;
};
