// The options object: every user setting as a plain member, filled from the per-user store once at start
// (CPrefs::Load) and written back once at the end (CPrefs::Save). Each stored option is described once,
// in CPrefs::Descriptors, which loading, saving and resetting walk and a preferences window can bind to.
// Works without any window; the main window owns the one instance, tests construct their own.
#pragma once

#include "model/support/ModelTypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class CPrefs;

// One window's place on the screen.
struct SWindowPlacement
{
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool Maximized = false;

    friend bool operator==(const SWindowPlacement&, const SWindowPlacement&) = default;
};

// The screen's work area (the screen less the desktop's panels).
struct SWorkArea
{
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 1024;
    std::int32_t Height = 768;
};

// The six settings of the book list's filter and sort, stored with the options.
struct SBookListPrefs
{
    bool FilterEnable = false;    // BookFilterEnable
    bool SortEnable = false;      // BookSortEnable
    std::int8_t FilterField = 0;  // BookFilterFieldName: 0 created, 1 accessed, 2 modified
    std::int8_t FilterPeriod = 0; // BookFilterTimeLeft: period index 0..10
    std::int8_t SortField = 0;    // BookSortFieldName: 0..4
    bool SortUp = true;           // BookSortUp
};

// How an option is held and how the integer kept in the store becomes its value.
enum class EPrefKind
{
    NonZeroFlag,  // true for any stored value but 0; written as 0 or 1
    EqualOneFlag, // true only for a stored 1; written as 0 or 1
    Integer,      // 32 bits, signed or unsigned, as stored
    SignedByte,   // the low byte of the stored integer; written back sign-extended
    Byte,         // the low byte of the stored integer; written back zero-extended
    Text,
};

// What becomes of a value outside the option's range [Low, High].
enum class EPrefRange
{
    Any,           // every value is taken
    ClampOnLoad,   // limited to the range when read from the store; a value set while running is kept
    DefaultOnLoad, // a stored value outside gives the default; its consumers get the default too
    DefaultOnUse,  // kept and written back as stored; its consumers get the default (CPrefs::Checked)
};

// Where a text option's default comes from.
enum class EPrefTextDefault
{
    Fixed,              // DefaultText
    DefaultBooksFolder, // the default books folder, made when missing
    BooksDirectory,     // the books folder as loaded just before
};

// One stored option: the name it is kept under, the member that holds it, its kind, default and range.
// The table of all of them (CPrefs::Descriptors) drives loading, saving and resetting to defaults.
struct SPrefDescriptor
{
    using Field =
        std::variant<bool*, std::int8_t*, std::uint8_t*, std::int32_t*, std::uint32_t*, std::string*>;

    std::string Name; // the value name in the store
    EPrefKind Kind = EPrefKind::Integer;
    Field (*Member)(CPrefs&, int) = nullptr; // the member of an options object; takes Index
    int Index = 0;                           // which element, for the numbered rows
    std::int64_t Default = 0;                // the member's default for every kind but Text (flags: 0 or 1)
    std::string DefaultText;                 // Text
    EPrefTextDefault TextDefault = EPrefTextDefault::Fixed;
    EPrefRange Range = EPrefRange::Any;
    std::int32_t Low = 0;
    std::int32_t High = 0;
    bool Folder = false; // a folder, made when missing after it was loaded

    Field FieldOf(CPrefs& prefs) const { return Member(prefs, Index); }
};

class CPrefs
{
public:
    static constexpr int kPrefsVersion = 4;
    static constexpr int kListColumnCount = 9;
    static constexpr int kBookButtonCount = 11;
    static constexpr int kMinMainFormFontSize = -25;
    static constexpr int kMaxMainFormFontSize = 50;
    static constexpr int kDefaultParserNumberingType = 1;
    static constexpr int kDefaultParserNumberingFormat = 0;
    static constexpr std::array<std::int32_t, kListColumnCount> kDefaultListColumnWidths = {
        40, 30, 100, 50, 30, 150, 400, 200, 500};

    // Gives the members their first values and records this object as the single instance.
    CPrefs();
    // Clears the single-instance record.
    virtual ~CPrefs();
    CPrefs(const CPrefs&) = delete;
    CPrefs& operator=(const CPrefs&) = delete;

    // The single instance; nullptr while none exists.
    static CPrefs* GetPrefs();

    // Reads every option, then the window placements; creates the books and backup folders when missing.
    // Always true: a value that cannot be read takes its default.
    bool Load();
    // Writes every option, then the window placements. Always true: a value that cannot be written is lost.
    bool Save();

    // Every stored option in the order it is read and written (the window placements excepted).
    static const std::vector<SPrefDescriptor>& Descriptors();
    // The option stored under the name (compared exactly); nullptr for none.
    static const SPrefDescriptor* FindDescriptor(std::string_view name);
    // Gives the option its default; the store is not touched.
    void ResetToDefault(const SPrefDescriptor& option);
    // Gives every stored option its default; the store, the placements and the run-only members are not
    // touched.
    void ResetToDefaults();
    // The value as consumers may use it: the option's default when the value is outside its range.
    static int Checked(const SPrefDescriptor& option, int value);

    // The books folder as stored.
    const std::string& GetBooksDirectory() const { return m_BooksDirectory; }
    // Changes the books folder; the log follows it.
    void SetBooksDirectory(const std::string& folder);

    int GetMainFormFontSize() const { return m_MainFormFontSize; }
    // Not limited here; the limit applies when the value is read back.
    void SetMainFormFontSize(int step) { m_MainFormFontSize = step; }

    // The work area the placements are checked against and saved with; the main window sets it before
    // Load and Save.
    void SetWorkArea(const SWorkArea& area) { m_WorkArea = area; }
    const SWorkArea& GetWorkArea() const { return m_WorkArea; }
    // The placements a work area gives the main window alone, the main window beside the list, and the
    // list window.
    static void DefaultPlacements(const SWorkArea& area, SWindowPlacement& mainAlone,
                                  SWindowPlacement& mainBeside, SWindowPlacement& list);

    // Options as their consumers may use them: a stored value out of range gives the default, so no table
    // is ever indexed with it.
    int GetViewMode() const;                // 0 Flashcard, 1 Flashcard+, 2 Multiple Choice, 3 Moodle
    int GetQaxTypeLearn() const;            // 0 "QX", 1 "VAD"
    int GetParserNumberingType() const;     // 0 digits, 1 letters
    int GetParserNumberingFormat() const;   // 0 "A.", 1 "A)", 2 "(A)"
    int GetParserFeedbackSeparator() const; // 0..3 empty lines
    int GetPrintPhase() const;              // 0 Test, 1 Review, 2 Flash, 3 Edit
    int GetBookFilterField() const;         // 0..2
    int GetBookFilterPeriod() const;        // 0..10
    int GetBookSortField() const;           // 0..4
    // Width of a list-window column (the default one where the stored width is 0 or less); 0 for an
    // index out of range.
    int GetListColumnWidth(int column) const;
    // The option ViewMode as the windows switch on it.
    EQuestionStyle GetQuestionStyle() const { return QuestionStyleFromNumber(GetViewMode()); }

    // Timer intervals in milliseconds; 0 means the timer stays off.
    int GetHintStepMilliseconds() const;  // Flash hint step: HintDelayForLearnMode x 100 ms
    int GetHintDelayMilliseconds() const; // before the first hint: DelayBeforeHintDelayForLearnMode x 1000 ms
    int GetBackupIntervalMilliseconds() const; // timed backups: BackupTime minutes, when BackupAllow is on

    // --- Stored options (registry value names in the comments) ---
    bool m_EnabledAutoUpdate = true;                     // EnabledAutoUpdate
    std::int32_t m_HintDelayForLearnMode = 1;            // HintDelayForLearnMode, units of 100 ms
    std::int32_t m_DelayBeforeHintDelayForLearnMode = 1; // DelayBeforeHintDelayForLearnMode, seconds
    std::string m_AuthorId;                              // AuthorId
    std::string m_BackupDirectory;                       // BackupDirectory
    std::int8_t m_ViewMode = 0;                          // ViewMode
    bool m_BackupAllow = true;                           // BackupAllow
    std::int32_t m_BackupTime = 5;                       // BackupTime, minutes
    std::string m_FieldFontName;                         // FieldFontName
    std::int32_t m_FieldFontSize = 0;                    // FieldFontSize
    std::uint8_t m_FieldFontCharSet = 0;                 // FieldFontCharSet
    std::uint32_t m_FieldFontColor = 0;                  // FieldFontColor
    bool m_FieldFontStyleBold = false;                   // FieldFontStyleBold
    bool m_FieldFontStyleItalic = false;                 // FieldFontStyleItalic
    bool m_FieldFontStyleUnderline = false;              // FieldFontStyleUnderline
    bool m_FieldFontStyleStrikeOut = false;              // FieldFontStyleStrikeOut
    bool m_EnableSkin = true;                            // EnableSkin
    bool m_UseDefaultSkin = true;                        // UseDefaultSkin
    std::string m_ExternalSkinPath;                      // ExternalSkinPath
    bool m_ShowListForReviewMode = false;                // ShowListForReviewMode
    bool m_ShowListForLearnMode = false;                 // ShowListForLearnMode
    bool m_ShowListForEditMode = true;                   // ShowListForEditMode
    std::int8_t m_QAX_TYPE_LEARN = 0;                    // QAX_TYPE_LEARN
    std::array<std::int32_t, kListColumnCount> m_ListFormColWidths =
        kDefaultListColumnWidths;                             // ListFormColWv4_7n
    SBookListPrefs m_BookList;                                // the six book-list options
    std::int8_t m_ParserNumberingType = 1;                    // ParserNumberingType
    std::int8_t m_ParserNumberingFormat = 0;                  // ParserNumberingFormat
    bool m_ParserFeedbackExist = false;                       // ParserFeedbackExist
    std::int8_t m_ParserFeedbackSeparator = 0;                // ParserFeedbackSeparator
    bool m_ShowStandartToolbar = true;                        // ShowStandartToolbar
    bool m_ShowFormatingToolbar = true;                       // ShowFormatingToolbar
    bool m_MoveToTrusShowAskMsg = false;                      // MoveToTrusShowAskMsg
    std::array<std::string, kBookButtonCount> m_BooksDisplay; // BooksDisplay_Unit_0_Book_n
    std::array<std::string, kBookButtonCount> m_BooksPath;    // BooksPath_Unit_0_Book_n

    // Window placements (read when the stored options are newer than version 2, always written).
    SWindowPlacement m_MainFormPlacement;    // MainFormL/T/W/H/M: the main window alone
    SWindowPlacement m_MainFormExtPlacement; // MainFormExtL/T/W/H/M: the main window beside the list
    SWindowPlacement m_ListFormPlacement;    // ListFormL/T/W/H/M
    bool m_ListFormVisible = false;          // ListFormVisible, kept as read

    // --- For this run only ---
    bool m_bListFormActive = false;          // the list window is the active window
    int m_PrintPhase = 0;                    // chosen in the print settings dialog
    bool m_IgnoreMediaFolderWarning = false; // the warning on keeping media beside the book was ignored
    bool m_bAndroidExportRunning = false;
    std::string m_AndroidExportPictureFolder;
    int m_AndroidExportPictureCounter = 0;

private:
    // The default of a text option; the default books folder is made when missing.
    std::string DefaultText(const SPrefDescriptor& option) const;
    // Sets a text option; the log follows the books folder.
    void SetText(std::string* member, std::string text);
    void LoadPlacements(std::int32_t prefsVersion);
    void SavePlacements();

    std::string m_BooksDirectory;
    std::int32_t m_MainFormFontSize = 0;
    SWorkArea m_WorkArea;
};
