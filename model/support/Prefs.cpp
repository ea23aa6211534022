// The options object and its round trip through the per-user store.
#include "model/support/Prefs.h"

#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "model/support/Registry.h"

#include <algorithm>
#include <charconv>
#include <climits>

namespace
{

CPrefs* g_prefs = nullptr;

constexpr const char* kDefaultAuthorId = "Lernfold for Windows";
constexpr const char* kDefaultFontName = "Arial";
constexpr std::int32_t kDefaultFieldFontSize = 12;
constexpr std::uint8_t kDefaultFieldFontCharSet = 1;
constexpr std::uint32_t kDefaultFieldFontColor = 0x80000008; // the system colour of window text

std::string Numbered(const char* prefix, int n)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
    return std::string(prefix) + std::string(buffer, result.ptr);
}

std::string ListColumnName(int column)
{
    return Numbered("ListFormColWv4_7", column);
}

std::string BooksDisplayName(int book)
{
    return Numbered("BooksDisplay_Unit_0_Book_", book);
}

std::string BooksPathName(int book)
{
    return Numbered("BooksPath_Unit_0_Book_", book);
}

// Flags that are true for any stored value but 0.
bool ReadNonZeroFlag(const char* name, bool defaultValue)
{
    return ReadValueFromRegistry(name, defaultValue ? 1 : 0) != 0;
}

// Flags that are true only for a stored 1.
bool ReadEqualOneFlag(const char* name, bool defaultValue)
{
    return ReadValueFromRegistry(name, defaultValue ? 1 : 0) == 1;
}

// One-byte members keep the low byte of the stored integer.
std::int8_t ReadSignedByte(const char* name, std::int8_t defaultValue)
{
    const auto low = static_cast<std::uint8_t>(ReadValueFromRegistry(name, defaultValue) & 0xFF);
    return static_cast<std::int8_t>(low);
}

std::uint8_t ReadByte(const char* name, std::uint8_t defaultValue)
{
    return static_cast<std::uint8_t>(ReadValueFromRegistry(name, defaultValue) & 0xFF);
}

void WriteFlag(const char* name, bool value)
{
    WriteValueToRegistry(name, value ? 1 : 0);
}

void WriteSignedByte(const char* name, std::int8_t value)
{
    WriteValueToRegistry(name, static_cast<std::int32_t>(value));
}

void WriteByte(const char* name, std::uint8_t value)
{
    WriteValueToRegistry(name, static_cast<std::int32_t>(value));
}

void CreateMissingFolder(const std::string& folder)
{
    // A folder that cannot be made stays as stored; its users report their own failures.
    if (!folder.empty())
        CreateFolder(folder);
}

int InRange(int value, int low, int high, int defaultValue)
{
    return value >= low && value <= high ? value : defaultValue;
}

// count x unit milliseconds; 0 (off) for a count of 0 or less; the largest int when it would overflow.
int TimerInterval(std::int32_t count, int unitMilliseconds)
{
    if (count <= 0)
        return 0;
    const std::int64_t interval = static_cast<std::int64_t>(count) * unitMilliseconds;
    return static_cast<int>(std::min<std::int64_t>(interval, INT_MAX));
}

// True when the placement overlaps the work area and fits into it.
bool FitsWorkArea(const SWindowPlacement& placement, const SWorkArea& area)
{
    const std::int64_t left = placement.Left;
    const std::int64_t top = placement.Top;
    const bool onArea = left < area.Width && area.Left < left + placement.Width && top < area.Height &&
                        area.Top < top + placement.Height;
    return onArea && placement.Width <= area.Width && placement.Height <= area.Height;
}

SWindowPlacement ReadPlacement(const char* prefix)
{
    const std::string base(prefix);
    SWindowPlacement placement;
    placement.Left = ReadValueFromRegistry(base + "L", 0);
    placement.Top = ReadValueFromRegistry(base + "T", 0);
    placement.Width = ReadValueFromRegistry(base + "W", 0);
    placement.Height = ReadValueFromRegistry(base + "H", 0);
    placement.Maximized = ReadValueFromRegistry(base + "M", 0) != 0;
    return placement;
}

void WritePlacement(const char* prefix, const SWindowPlacement& placement)
{
    const std::string base(prefix);
    WriteValueToRegistry(base + "L", placement.Left);
    WriteValueToRegistry(base + "T", placement.Top);
    WriteValueToRegistry(base + "W", placement.Width);
    WriteValueToRegistry(base + "H", placement.Height);
    WriteValueToRegistry(base + "M", placement.Maximized ? 1 : 0);
}

} // namespace

CPrefs::CPrefs()
{
    g_prefs = this;
}

CPrefs::~CPrefs()
{
    if (g_prefs == this)
        g_prefs = nullptr;
}

CPrefs* CPrefs::GetPrefs()
{
    return g_prefs;
}

void CPrefs::SetBooksDirectory(const std::string& folder)
{
    m_BooksDirectory = folder;
    SetLogBooksDirectory(m_BooksDirectory);
}

bool CPrefs::Load()
{
    const std::int32_t prefsVersion = ReadValueFromRegistry("PrefsVersion", 0);

    m_EnabledAutoUpdate = ReadNonZeroFlag("EnabledAutoUpdate", true);
    m_HintDelayForLearnMode = ReadValueFromRegistry("HintDelayForLearnMode", 1);
    m_DelayBeforeHintDelayForLearnMode = ReadValueFromRegistry("DelayBeforeHintDelayForLearnMode", 1);
    m_AuthorId = ReadValueFromRegistry2("AuthorId", kDefaultAuthorId);

    // The default books folder is made at every start, also when the store names another folder.
    const std::string defaultBooks = GetDefaultBooksFolder();
    SetBooksDirectory(ReadValueFromRegistry2("BooksDirectory", defaultBooks));
    CreateMissingFolder(m_BooksDirectory);
    m_BackupDirectory = ReadValueFromRegistry2("BackupDirectory", m_BooksDirectory);
    CreateMissingFolder(m_BackupDirectory);

    m_ViewMode = ReadSignedByte("ViewMode", 0);
    m_BackupAllow = ReadEqualOneFlag("BackupAllow", true);
    m_BackupTime = ReadValueFromRegistry("BackupTime", 5);
    m_MainFormFontSize =
        std::clamp(ReadValueFromRegistry("MainFormFontSize", 0), kMinMainFormFontSize, kMaxMainFormFontSize);
    m_FieldFontName = ReadValueFromRegistry2("FieldFontName", kDefaultFontName);
    m_FieldFontSize = ReadValueFromRegistry("FieldFontSize", kDefaultFieldFontSize);
    m_FieldFontCharSet = ReadByte("FieldFontCharSet", kDefaultFieldFontCharSet);
    m_FieldFontColor = static_cast<std::uint32_t>(
        ReadValueFromRegistry("FieldFontColor", static_cast<std::int32_t>(kDefaultFieldFontColor)));
    m_FieldFontStyleBold = ReadNonZeroFlag("FieldFontStyleBold", false);
    m_FieldFontStyleItalic = ReadNonZeroFlag("FieldFontStyleItalic", false);
    m_FieldFontStyleUnderline = ReadNonZeroFlag("FieldFontStyleUnderline", false);
    m_FieldFontStyleStrikeOut = ReadNonZeroFlag("FieldFontStyleStrikeOut", false);
    m_EnableSkin = ReadNonZeroFlag("EnableSkin", true);
    m_UseDefaultSkin = ReadNonZeroFlag("UseDefaultSkin", true);
    m_ExternalSkinPath = ReadValueFromRegistry2("ExternalSkinPath", "");
    m_ShowListForReviewMode = ReadEqualOneFlag("ShowListForReviewMode", false);
    m_ShowListForLearnMode = ReadEqualOneFlag("ShowListForLearnMode", false);
    m_ShowListForEditMode = ReadEqualOneFlag("ShowListForEditMode", true);
    m_QAX_TYPE_LEARN = ReadSignedByte("QAX_TYPE_LEARN", 0);
    for (int column = 0; column < kListColumnCount; ++column)
    {
        const std::int32_t width = ReadValueFromRegistry(ListColumnName(column), 0);
        m_ListFormColWidths[column] = width > 0 ? width : kDefaultListColumnWidths[column];
    }
    m_BookList.FilterEnable = ReadEqualOneFlag("BookFilterEnable", false);
    m_BookList.SortEnable = ReadEqualOneFlag("BookSortEnable", false);
    m_BookList.FilterField = ReadSignedByte("BookFilterFieldName", 0);
    m_BookList.FilterPeriod = ReadSignedByte("BookFilterTimeLeft", 0);
    m_BookList.SortField = ReadSignedByte("BookSortFieldName", 0);
    m_BookList.SortUp = ReadEqualOneFlag("BookSortUp", true);
    m_ParserNumberingType = ReadSignedByte("ParserNumberingType", kDefaultParserNumberingType);
    m_ParserNumberingFormat = ReadSignedByte("ParserNumberingFormat", kDefaultParserNumberingFormat);
    m_ParserFeedbackExist = ReadEqualOneFlag("ParserFeedbackExist", false);
    m_ParserFeedbackSeparator = ReadSignedByte("ParserFeedbackSeparator", 0);
    m_ShowStandartToolbar = ReadEqualOneFlag("ShowStandartToolbar", true);
    m_ShowFormatingToolbar = ReadEqualOneFlag("ShowFormatingToolbar", true);
    m_MoveToTrusShowAskMsg = ReadEqualOneFlag("MoveToTrusShowAskMsg", false);
    for (int book = 0; book < kBookButtonCount; ++book)
    {
        m_BooksDisplay[book] = ReadValueFromRegistry2(BooksDisplayName(book), "");
        m_BooksPath[book] = ReadValueFromRegistry2(BooksPathName(book), "");
    }

    LoadPlacements(prefsVersion);
    return true;
}

void CPrefs::DefaultPlacements(const SWorkArea& area, SWindowPlacement& mainAlone,
                               SWindowPlacement& mainBeside, SWindowPlacement& list)
{
    const std::int32_t halfWidth = std::clamp<std::int32_t>(area.Width / 2, 560, 700);
    mainAlone = {area.Left, area.Top, area.Width, area.Height, false};
    mainBeside = {area.Left, area.Top, halfWidth, area.Height, false};
    list = {halfWidth, area.Top, area.Width - halfWidth, area.Height, false};
}

void CPrefs::LoadPlacements(std::int32_t prefsVersion)
{
    SWindowPlacement defaults[3];
    DefaultPlacements(m_WorkArea, defaults[0], defaults[1], defaults[2]);
    SWindowPlacement* placements[3] = {&m_MainFormPlacement, &m_MainFormExtPlacement, &m_ListFormPlacement};

    if (prefsVersion <= 2)
    {
        for (int i = 0; i < 3; ++i)
            *placements[i] = defaults[i];
        m_ListFormVisible = false;
        return;
    }
    const std::int32_t screenWidth = ReadValueFromRegistry("ScreenWidth", 0);
    const std::int32_t screenHeight = ReadValueFromRegistry("ScreenHeight", 0);
    m_MainFormPlacement = ReadPlacement("MainForm");
    m_MainFormExtPlacement = ReadPlacement("MainFormExt");
    m_ListFormPlacement = ReadPlacement("ListForm");
    m_ListFormVisible = ReadValueFromRegistry("ListFormVisible", 0) != 0;

    // Saved on a larger screen: nothing of the old layout can be trusted.
    const bool screenShrank = (screenWidth > 0 && m_WorkArea.Width < screenWidth) ||
                              (screenHeight > 0 && m_WorkArea.Height < screenHeight);
    for (int i = 0; i < 3; ++i)
    {
        if (!screenShrank && FitsWorkArea(*placements[i], m_WorkArea))
            continue;
        *placements[i] = defaults[i];
        // The list window's default placement is a hidden one.
        if (placements[i] == &m_ListFormPlacement)
            m_ListFormVisible = false;
    }
}

bool CPrefs::Save()
{
    WriteValueToRegistry("PrefsVersion", kPrefsVersion);
    WriteValueToRegistry("MajorVersion", 4);
    WriteValueToRegistry("MinorVersion", 9);
    WriteValueToRegistry("BuildVersion", 610);

    WriteFlag("EnabledAutoUpdate", m_EnabledAutoUpdate);
    WriteValueToRegistry("HintDelayForLearnMode", m_HintDelayForLearnMode);
    WriteValueToRegistry("DelayBeforeHintDelayForLearnMode", m_DelayBeforeHintDelayForLearnMode);
    WriteValueToRegistry2("AuthorId", m_AuthorId);
    WriteValueToRegistry2("BooksDirectory", m_BooksDirectory);
    WriteValueToRegistry2("BackupDirectory", m_BackupDirectory);
    WriteSignedByte("ViewMode", m_ViewMode);
    WriteFlag("BackupAllow", m_BackupAllow);
    WriteValueToRegistry("BackupTime", m_BackupTime);
    WriteValueToRegistry("MainFormFontSize", m_MainFormFontSize);
    WriteValueToRegistry2("FieldFontName", m_FieldFontName);
    WriteValueToRegistry("FieldFontSize", m_FieldFontSize);
    WriteByte("FieldFontCharSet", m_FieldFontCharSet);
    WriteValueToRegistry("FieldFontColor", static_cast<std::int32_t>(m_FieldFontColor));
    WriteFlag("FieldFontStyleBold", m_FieldFontStyleBold);
    WriteFlag("FieldFontStyleItalic", m_FieldFontStyleItalic);
    WriteFlag("FieldFontStyleUnderline", m_FieldFontStyleUnderline);
    WriteFlag("FieldFontStyleStrikeOut", m_FieldFontStyleStrikeOut);
    WriteFlag("EnableSkin", m_EnableSkin);
    WriteFlag("UseDefaultSkin", m_UseDefaultSkin);
    WriteValueToRegistry2("ExternalSkinPath", m_ExternalSkinPath);
    WriteFlag("ShowListForReviewMode", m_ShowListForReviewMode);
    WriteFlag("ShowListForLearnMode", m_ShowListForLearnMode);
    WriteFlag("ShowListForEditMode", m_ShowListForEditMode);
    WriteSignedByte("QAX_TYPE_LEARN", m_QAX_TYPE_LEARN);
    for (int column = 0; column < kListColumnCount; ++column)
        WriteValueToRegistry(ListColumnName(column), m_ListFormColWidths[column]);
    WriteFlag("BookFilterEnable", m_BookList.FilterEnable);
    WriteFlag("BookSortEnable", m_BookList.SortEnable);
    WriteSignedByte("BookFilterFieldName", m_BookList.FilterField);
    WriteSignedByte("BookFilterTimeLeft", m_BookList.FilterPeriod);
    WriteSignedByte("BookSortFieldName", m_BookList.SortField);
    WriteFlag("BookSortUp", m_BookList.SortUp);
    WriteSignedByte("ParserNumberingType", m_ParserNumberingType);
    WriteSignedByte("ParserNumberingFormat", m_ParserNumberingFormat);
    WriteFlag("ParserFeedbackExist", m_ParserFeedbackExist);
    WriteSignedByte("ParserFeedbackSeparator", m_ParserFeedbackSeparator);
    WriteFlag("ShowStandartToolbar", m_ShowStandartToolbar);
    WriteFlag("ShowFormatingToolbar", m_ShowFormatingToolbar);
    WriteFlag("MoveToTrusShowAskMsg", m_MoveToTrusShowAskMsg);
    for (int book = 0; book < kBookButtonCount; ++book)
    {
        WriteValueToRegistry2(BooksDisplayName(book), m_BooksDisplay[book]);
        WriteValueToRegistry2(BooksPathName(book), m_BooksPath[book]);
    }

    SavePlacements();
    return true;
}

void CPrefs::SavePlacements()
{
    WriteValueToRegistry("ScreenWidth", m_WorkArea.Width);
    WriteValueToRegistry("ScreenHeight", m_WorkArea.Height);
    WritePlacement("MainForm", m_MainFormPlacement);
    WritePlacement("MainFormExt", m_MainFormExtPlacement);
    WritePlacement("ListForm", m_ListFormPlacement);
    WriteValueToRegistry("ListFormVisible", m_ListFormVisible ? 1 : 0);
}

int CPrefs::GetViewMode() const
{
    return InRange(m_ViewMode, 0, 3, 0);
}

int CPrefs::GetQaxTypeLearn() const
{
    return InRange(m_QAX_TYPE_LEARN, 0, 1, 0);
}

int CPrefs::GetParserNumberingType() const
{
    return InRange(m_ParserNumberingType, 0, 1, kDefaultParserNumberingType);
}

int CPrefs::GetParserNumberingFormat() const
{
    return InRange(m_ParserNumberingFormat, 0, 2, kDefaultParserNumberingFormat);
}

int CPrefs::GetParserFeedbackSeparator() const
{
    return InRange(m_ParserFeedbackSeparator, 0, 3, 0);
}

int CPrefs::GetPrintPhase() const
{
    return InRange(m_PrintPhase, 0, 3, 0);
}

int CPrefs::GetBookFilterField() const
{
    return InRange(m_BookList.FilterField, 0, 2, 0);
}

int CPrefs::GetBookFilterPeriod() const
{
    return InRange(m_BookList.FilterPeriod, 0, 10, 0);
}

int CPrefs::GetBookSortField() const
{
    return InRange(m_BookList.SortField, 0, 4, 0);
}

int CPrefs::GetListColumnWidth(int column) const
{
    if (column < 0 || column >= kListColumnCount)
        return 0;
    const std::int32_t width = m_ListFormColWidths[column];
    return width > 0 ? width : kDefaultListColumnWidths[column];
}

int CPrefs::GetHintStepMilliseconds() const
{
    return TimerInterval(m_HintDelayForLearnMode, 100);
}

int CPrefs::GetHintDelayMilliseconds() const
{
    return TimerInterval(m_DelayBeforeHintDelayForLearnMode, 1000);
}

int CPrefs::GetBackupIntervalMilliseconds() const
{
    return m_BackupAllow ? TimerInterval(m_BackupTime, 60000) : 0;
}
