// The values the windows switch on, each with one named type. The numbers are the ones stored in books,
// options and filter settings, so a value converts to and from its number without a table.
#pragma once

#include <cstdint>
#include <type_traits>

// The phase of a session. Items and filter settings keep it as an int (-1 for none), the storage and
// the options as a byte (255 for none).
enum class EPhase : std::uint8_t
{
    Test = 0,
    Review = 1,
    Flash = 2,
    Edit = 3,
    None = 255,
};

// The phase of a stored number: 0..3, anything else (-1, 255) is none.
constexpr EPhase PhaseFromNumber(int number)
{
    return number >= 0 && number <= 3 ? static_cast<EPhase>(number) : EPhase::None;
}

// The number of the filter settings and the items: 0..3, -1 for none.
constexpr int PhaseNumber(EPhase phase)
{
    return phase == EPhase::None ? -1 : static_cast<int>(phase);
}

constexpr bool IsStudyPhase(EPhase phase)
{
    return phase == EPhase::Test || phase == EPhase::Review || phase == EPhase::Flash;
}

// The pane the main window shows (`m_ActiveView`): the three panes of a question, the intro page, or
// nothing at all. Kept by the window alone; the list window's codes and Quick Edit's fields follow its
// order.
enum class EView : std::uint8_t
{
    Question = 0,
    Answers = 1,
    Explanation = 2,
    Intro = 3,
    Blank = 4,
};

// The views that show the current question: Question, Answers and Explanation.
constexpr bool IsQuestionView(EView view)
{
    return view <= EView::Explanation;
}

// The question style (the option `ViewMode`): how a question shows and is answered.
enum class EQuestionStyle : std::uint8_t
{
    Flashcard = 0,
    FlashcardPlus = 1,
    MultipleChoice = 2,
    Moodle = 3,
};

// The style of a stored number: 0..3, anything else is the default Flashcard.
constexpr EQuestionStyle QuestionStyleFromNumber(int number)
{
    return number >= 0 && number <= 3 ? static_cast<EQuestionStyle>(number) : EQuestionStyle::Flashcard;
}

// The two styles that show a multiple-choice question as a card with one answer.
constexpr bool IsFlashcardStyle(EQuestionStyle style)
{
    return style == EQuestionStyle::Flashcard || style == EQuestionStyle::FlashcardPlus;
}

// The view filter of the sequence (`currentView`). In the Test phase Answered and Unanswered; in the
// other study phases the same numbers select the correctly and the incorrectly answered questions.
enum class EViewFilter : std::uint8_t
{
    All = 0,
    Marked = 1,
    AnsweredOrCorrect = 2,
    UnansweredOrIncorrect = 3,
};

// The problem query of the search box (`problemKind`): the count queries compare a count with
// `problemNumber`.
enum class EProblemQuery : std::uint8_t
{
    None = 0,
    CorrectCountEqual = 1,
    CorrectCountNotEqual = 2,
    CorrectCountMore = 3,
    CorrectCountLess = 4,
    AnswerCountEqual = 5,
    AnswerCountNotEqual = 6,
    AnswerCountMore = 7,
    AnswerCountLess = 8,
    Duplicates = 9,
    SpecialCharacters = 10,
    EmptyAnswerChoices = 11,
};

// The queries that compare a count or test the answers of each item.
constexpr bool IsCountQuery(EProblemQuery query)
{
    return (query >= EProblemQuery::CorrectCountEqual && query <= EProblemQuery::AnswerCountLess) ||
           query == EProblemQuery::EmptyAnswerChoices;
}

// What grading an answer gives (`CBaseItem::GetResult`).
enum class EGrade : int
{
    NotGraded = -1,
    Incorrect = 0,
    Correct = 1,
    PartlyCorrect = 2,
};

constexpr EGrade GradeFromResult(int result)
{
    return result >= 0 && result <= 2 ? static_cast<EGrade>(result) : EGrade::NotGraded;
}

// The two ends of the form manager's notification path.
enum class EFormTarget : std::uint8_t
{
    ListWindow = 1,
    MainWindow = 2,
};

// Events sent to the list window.
enum class EListEvent : std::uint8_t
{
    Reload = 1,
    RefreshRow = 3,
    NameChanged = 4,
    QuestionChanged = 5,
    AnswersChanged = 6,
    ExplanationChanged = 7,
    KeyChanged = 8,
    ChapterNumberChanged = 9,
    ChapterChanged = 10,
    MarkChanged = 11,
    ShowFirstColumn = 12, // 12 to 20 show a field's column
    ShowLastColumn = 20,
    ClipboardChanged = 21,
};

// Events sent to the main window.
enum class EMainEvent : std::uint8_t
{
    SelectChapter = 1,
    Nothing = 2,
    ChapterNumberChanged = 9, // 9 to 11 re-render the current question
    ChapterChanged = 10,
    MarkChanged = 11,
    ShowFirstPane = 12, // 12 to 20 show a pane
    ShowAnswersPane = 15,
    ShowExplanationPane = 16,
    ShowAnswersPaneToo = 17,
    ShowLastPane = 20,
    NewQuestionOfCurrentKind = 22,
    NewQuestionOfKind = 23,
    QuestionsPasted = 24,
    DeleteCurrentQuestion = 25,
    QuestionsMovedOrDeleted = 26,
    RefreshRows = 27,
    ListWindowClosed = 28,
};

// The stored number of any of these values.
template <class E> constexpr auto ToNumber(E value)
{
    return static_cast<std::underlying_type_t<E>>(value);
}
