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

// The form manager's events between the main window and the list window; the numbers are the codes the
// two windows have always exchanged. 4 to 11 name the field of a question that changed, 12 to 20 ask to
// show a field (13 the question, 15 and 17 the answers, 16 the explanation).
enum class EFormEvent : std::uint8_t
{
    Reload = 1, // to the main window with a chapter: select that chapter
    Nothing = 2,
    RowChanged = 3,
    NameChanged = 4,
    QuestionChanged = 5,
    AnswersChanged = 6,
    ExplanationChanged = 7,
    KeyChanged = 8,
    LayerChanged = 9,
    ChapterChanged = 10,
    MarkChanged = 11,
    ShowFirst = 12,
    ShowQuestion = 13,
    ShowAnswers = 15,
    ShowExplanation = 16,
    ShowAnswersToo = 17,
    ShowLast = 20,
    ClipboardChanged = 21,
    NewOfCurrentKind = 22,
    NewOfKind = 23,
    Refilter = 24,
    DeleteCurrent = 25,
    ItemsDeleted = 26,
    Sort = 27,
    ListClosed = 28,
};

// A field of a question changed (4 to 11).
constexpr bool IsFieldChange(EFormEvent event)
{
    return event >= EFormEvent::NameChanged && event <= EFormEvent::MarkChanged;
}

// A field is asked to show (12 to 20).
constexpr bool IsShowRequest(EFormEvent event)
{
    return event >= EFormEvent::ShowFirst && event <= EFormEvent::ShowLast;
}

// The stored number of any of these values.
template <class E> constexpr auto ToNumber(E value)
{
    return static_cast<std::underlying_type_t<E>>(value);
}
