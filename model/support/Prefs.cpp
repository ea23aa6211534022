// The options object and its round trip through the per-user store.
#include "model/support/Prefs.h"

#include "model/support/Folders.h"
#include "model/support/Log.h"
#include "model/support/Registry.h"
#include "platform/sys/NumberText.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <type_traits>
#include <variant>

namespace
{

CPrefs* g_prefs = nullptr;

constexpr const char* kDefaultAuthorId = "Lernfold for Windows";
constexpr const char* kDefaultFontName = "Arial";
constexpr std::int32_t kDefaultFieldFontSize = 12;
constexpr std::uint8_t kDefaultFieldFontCharSet = 1;
constexpr std::uint32_t kDefaultFieldFontColor = 0x80000008; // the system colour of window text

void CreateMissingFolder(const std::string& folder)
{
    // A folder that cannot be made stays as stored; its users report their own failures.
    if (!folder.empty())
        CreateFolder(folder);
}

bool InRange(std::int64_t value, const SPrefDescriptor& option)
{
    return value >= option.Low && value <= option.High;
}

// The option of a name the code knows to be in the table.
const SPrefDescriptor& Option(std::string_view name)
{
    const SPrefDescriptor* option = CPrefs::FindDescriptor(name);
    assert(option);
    return *option;
}

// The integer a member is kept as in the store.
std::int32_t StoredValue(const SPrefDescriptor::Field& field)
{
    return std::visit(
        [](auto* member) -> std::int32_t
        {
            using T = std::remove_pointer_t<decltype(member)>;
            if constexpr (std::is_same_v<T, std::string>)
                return 0;
            else if constexpr (std::is_same_v<T, bool>)
                return *member ? 1 : 0;
            else
                return static_cast<std::int32_t>(*member); // bytes sign- or zero-extended by their type
        },
        field);
}

// Sets a member from the integer kept in the store, as its kind says.
void SetFromStored(const SPrefDescriptor& option, const SPrefDescriptor::Field& field, std::int32_t stored)
{
    std::visit(
        [&](auto* member)
        {
            using T = std::remove_pointer_t<decltype(member)>;
            if constexpr (std::is_same_v<T, std::string>)
                return;
            else if constexpr (std::is_same_v<T, bool>)
                *member = option.Kind == EPrefKind::EqualOneFlag ? stored == 1 : stored != 0;
            else if constexpr (sizeof(T) == 1)
                *member = static_cast<T>(static_cast<std::uint8_t>(stored & 0xFF)); // the low byte
            else
                *member = static_cast<T>(stored);
        },
        field);
}

// The default as the integer kept in the store.
std::int32_t StoredDefault(const SPrefDescriptor& option)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(option.Default));
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

// The field of an options member; the numbered rows pass their index.
#define LF_PREF(member) [](CPrefs& p, int) -> SPrefDescriptor::Field { return &p.member; }
#define LF_PREF_AT(member) [](CPrefs& p, int i) -> SPrefDescriptor::Field { return &p.member[i]; }

const std::vector<SPrefDescriptor>& CPrefs::Descriptors()
{
    static const std::vector<SPrefDescriptor> table = []
    {
        using K = EPrefKind;
        using R = EPrefRange;
        std::vector<SPrefDescriptor> t;
        auto add = [&t](std::string name, K kind, SPrefDescriptor::Field (*member)(CPrefs&, int),
                        std::int64_t defaultValue) -> SPrefDescriptor&
        {
            SPrefDescriptor& option = t.emplace_back();
            option.Name = std::move(name);
            option.Kind = kind;
            option.Member = member;
            option.Default = defaultValue;
            return option;
        };
        auto text = [&add](std::string name, SPrefDescriptor::Field (*member)(CPrefs&, int),
                           std::string defaultText) -> SPrefDescriptor&
        {
            SPrefDescriptor& option = add(std::move(name), K::Text, member, 0);
            option.DefaultText = std::move(defaultText);
            return option;
        };
        auto range = [](SPrefDescriptor& option, R rule, std::int32_t low, std::int32_t high)
        {
            option.Range = rule;
            option.Low = low;
            option.High = high;
        };

        add("EnabledAutoUpdate", K::NonZeroFlag, LF_PREF(m_EnabledAutoUpdate), 1);
        add("HintDelayForLearnMode", K::Integer, LF_PREF(m_HintDelayForLearnMode), 1);
        add("DelayBeforeHintDelayForLearnMode", K::Integer, LF_PREF(m_DelayBeforeHintDelayForLearnMode), 1);
        text("AuthorId", LF_PREF(m_AuthorId), kDefaultAuthorId);
        SPrefDescriptor& books = text("BooksDirectory", LF_PREF(m_BooksDirectory), "");
        books.TextDefault = EPrefTextDefault::DefaultBooksFolder;
        books.Folder = true;
        SPrefDescriptor& backups = text("BackupDirectory", LF_PREF(m_BackupDirectory), "");
        backups.TextDefault = EPrefTextDefault::BooksDirectory;
        backups.Folder = true;
        range(add("ViewMode", K::SignedByte, LF_PREF(m_ViewMode), 0), R::DefaultOnUse, 0, 3);
        add("BackupAllow", K::EqualOneFlag, LF_PREF(m_BackupAllow), 1);
        add("BackupTime", K::Integer, LF_PREF(m_BackupTime), 5);
        range(add("MainFormFontSize", K::Integer, LF_PREF(m_MainFormFontSize), 0), R::ClampOnLoad,
              kMinMainFormFontSize, kMaxMainFormFontSize);
        text("FieldFontName", LF_PREF(m_FieldFontName), kDefaultFontName);
        add("FieldFontSize", K::Integer, LF_PREF(m_FieldFontSize), kDefaultFieldFontSize);
        add("FieldFontCharSet", K::Byte, LF_PREF(m_FieldFontCharSet), kDefaultFieldFontCharSet);
        add("FieldFontColor", K::Integer, LF_PREF(m_FieldFontColor), kDefaultFieldFontColor);
        add("FieldFontStyleBold", K::NonZeroFlag, LF_PREF(m_FieldFontStyleBold), 0);
        add("FieldFontStyleItalic", K::NonZeroFlag, LF_PREF(m_FieldFontStyleItalic), 0);
        add("FieldFontStyleUnderline", K::NonZeroFlag, LF_PREF(m_FieldFontStyleUnderline), 0);
        add("FieldFontStyleStrikeOut", K::NonZeroFlag, LF_PREF(m_FieldFontStyleStrikeOut), 0);
        add("EnableSkin", K::NonZeroFlag, LF_PREF(m_EnableSkin), 1);
        add("UseDefaultSkin", K::NonZeroFlag, LF_PREF(m_UseDefaultSkin), 1);
        text("ExternalSkinPath", LF_PREF(m_ExternalSkinPath), "");
        add("ShowListForReviewMode", K::EqualOneFlag, LF_PREF(m_ShowListForReviewMode), 0);
        add("ShowListForLearnMode", K::EqualOneFlag, LF_PREF(m_ShowListForLearnMode), 0);
        add("ShowListForEditMode", K::EqualOneFlag, LF_PREF(m_ShowListForEditMode), 1);
        range(add("QAX_TYPE_LEARN", K::SignedByte, LF_PREF(m_QAX_TYPE_LEARN), 0), R::DefaultOnUse, 0, 1);
        for (int column = 0; column < kListColumnCount; ++column)
        {
            SPrefDescriptor& width = add("ListFormColWv4_7" + lf::sys::NumberText(column), K::Integer,
                                         LF_PREF_AT(m_ListFormColWidths), kDefaultListColumnWidths[column]);
            width.Index = column;
            range(width, R::DefaultOnLoad, 1, INT32_MAX);
        }
        add("BookFilterEnable", K::EqualOneFlag, LF_PREF(m_BookList.FilterEnable), 0);
        add("BookSortEnable", K::EqualOneFlag, LF_PREF(m_BookList.SortEnable), 0);
        range(add("BookFilterFieldName", K::SignedByte, LF_PREF(m_BookList.FilterField), 0), R::DefaultOnUse,
              0, 2);
        range(add("BookFilterTimeLeft", K::SignedByte, LF_PREF(m_BookList.FilterPeriod), 0), R::DefaultOnUse,
              0, 10);
        range(add("BookSortFieldName", K::SignedByte, LF_PREF(m_BookList.SortField), 0), R::DefaultOnUse, 0,
              4);
        add("BookSortUp", K::EqualOneFlag, LF_PREF(m_BookList.SortUp), 1);
        range(add("ParserNumberingType", K::SignedByte, LF_PREF(m_ParserNumberingType),
                  kDefaultParserNumberingType),
              R::DefaultOnUse, 0, 1);
        range(add("ParserNumberingFormat", K::SignedByte, LF_PREF(m_ParserNumberingFormat),
                  kDefaultParserNumberingFormat),
              R::DefaultOnUse, 0, 2);
        add("ParserFeedbackExist", K::EqualOneFlag, LF_PREF(m_ParserFeedbackExist), 0);
        range(add("ParserFeedbackSeparator", K::SignedByte, LF_PREF(m_ParserFeedbackSeparator), 0),
              R::DefaultOnUse, 0, 3);
        add("ShowStandartToolbar", K::EqualOneFlag, LF_PREF(m_ShowStandartToolbar), 1);
        add("ShowFormatingToolbar", K::EqualOneFlag, LF_PREF(m_ShowFormatingToolbar), 1);
        add("MoveToTrusShowAskMsg", K::EqualOneFlag, LF_PREF(m_MoveToTrusShowAskMsg), 0);
        // The display and the path of one book button are read and written one after the other.
        for (int book = 0; book < kBookButtonCount; ++book)
        {
            text("BooksDisplay_Unit_0_Book_" + lf::sys::NumberText(book), LF_PREF_AT(m_BooksDisplay), "")
                .Index = book;
            text("BooksPath_Unit_0_Book_" + lf::sys::NumberText(book), LF_PREF_AT(m_BooksPath), "").Index =
                book;
        }
        return t;
    }();
    return table;
}

#undef LF_PREF
#undef LF_PREF_AT

const SPrefDescriptor* CPrefs::FindDescriptor(std::string_view name)
{
    for (const SPrefDescriptor& option : Descriptors())
        if (option.Name == name)
            return &option;
    return nullptr;
}

int CPrefs::Checked(const SPrefDescriptor& option, int value)
{
    const bool checkedOnUse =
        option.Range == EPrefRange::DefaultOnUse || option.Range == EPrefRange::DefaultOnLoad;
    return !checkedOnUse || InRange(value, option) ? value : static_cast<int>(option.Default);
}

std::string CPrefs::DefaultText(const SPrefDescriptor& option) const
{
    switch (option.TextDefault)
    {
    case EPrefTextDefault::DefaultBooksFolder:
        return GetDefaultBooksFolder();
    case EPrefTextDefault::BooksDirectory:
        return m_BooksDirectory;
    case EPrefTextDefault::Fixed:
        break;
    }
    return option.DefaultText;
}

void CPrefs::SetText(std::string* member, std::string text)
{
    if (member == &m_BooksDirectory)
        SetBooksDirectory(text); // the log follows the books folder
    else
        *member = std::move(text);
}

void CPrefs::ResetToDefault(const SPrefDescriptor& option)
{
    const SPrefDescriptor::Field field = option.FieldOf(*this);
    if (std::string* const* member = std::get_if<std::string*>(&field))
        SetText(*member, DefaultText(option));
    else
        SetFromStored(option, field, StoredDefault(option));
}

void CPrefs::ResetToDefaults()
{
    for (const SPrefDescriptor& option : Descriptors())
        ResetToDefault(option);
}

bool CPrefs::Load()
{
    const std::int32_t prefsVersion = ReadValueFromRegistry("PrefsVersion", 0);

    for (const SPrefDescriptor& option : Descriptors())
    {
        const SPrefDescriptor::Field field = option.FieldOf(*this);
        if (std::string* const* member = std::get_if<std::string*>(&field))
        {
            SetText(*member, ReadValueFromRegistry2(option.Name, DefaultText(option)));
            if (option.Folder)
                CreateMissingFolder(**member);
            continue;
        }
        std::int32_t stored = ReadValueFromRegistry(option.Name, StoredDefault(option));
        if (option.Range == EPrefRange::ClampOnLoad)
            stored = std::clamp(stored, option.Low, option.High);
        else if (option.Range == EPrefRange::DefaultOnLoad && !InRange(stored, option))
            stored = StoredDefault(option);
        SetFromStored(option, field, stored);
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

    for (const SPrefDescriptor& option : Descriptors())
    {
        const SPrefDescriptor::Field field = option.FieldOf(*this);
        if (std::string* const* member = std::get_if<std::string*>(&field))
            WriteValueToRegistry2(option.Name, **member);
        else
            WriteValueToRegistry(option.Name, StoredValue(field));
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
    static const SPrefDescriptor& option = Option("ViewMode");
    return Checked(option, m_ViewMode);
}

int CPrefs::GetQaxTypeLearn() const
{
    static const SPrefDescriptor& option = Option("QAX_TYPE_LEARN");
    return Checked(option, m_QAX_TYPE_LEARN);
}

int CPrefs::GetParserNumberingType() const
{
    static const SPrefDescriptor& option = Option("ParserNumberingType");
    return Checked(option, m_ParserNumberingType);
}

int CPrefs::GetParserNumberingFormat() const
{
    static const SPrefDescriptor& option = Option("ParserNumberingFormat");
    return Checked(option, m_ParserNumberingFormat);
}

int CPrefs::GetParserFeedbackSeparator() const
{
    static const SPrefDescriptor& option = Option("ParserFeedbackSeparator");
    return Checked(option, m_ParserFeedbackSeparator);
}

int CPrefs::GetPrintPhase() const
{
    return m_PrintPhase >= 0 && m_PrintPhase <= 3 ? m_PrintPhase : 0;
}

int CPrefs::GetBookFilterField() const
{
    static const SPrefDescriptor& option = Option("BookFilterFieldName");
    return Checked(option, m_BookList.FilterField);
}

int CPrefs::GetBookFilterPeriod() const
{
    static const SPrefDescriptor& option = Option("BookFilterTimeLeft");
    return Checked(option, m_BookList.FilterPeriod);
}

int CPrefs::GetBookSortField() const
{
    static const SPrefDescriptor& option = Option("BookSortFieldName");
    return Checked(option, m_BookList.SortField);
}

int CPrefs::GetListColumnWidth(int column) const
{
    if (column < 0 || column >= kListColumnCount)
        return 0;
    // The nine widths follow one another in the table.
    static const SPrefDescriptor* const first = &Option("ListFormColWv4_70");
    return Checked(first[column], m_ListFormColWidths[column]);
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
