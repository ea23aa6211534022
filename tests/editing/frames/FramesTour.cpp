// Shows every edit frame filled with a question of the sample book (the calculated and random matching
// frames, which the sample has no question for, with made-up values), the player frame and the
// recorder, and saves a picture of each, so the look can be checked by eye:
// lf_frames_tour <output folder>. Not a test; not part of the program.
#include "editing/frames/Answerframes.h"
#include "editing/frames/Feedbackframes.h"
#include "editing/frames/Headerframe.h"
#include "editing/frames/Playerframe.h"
#include "editing/frames/Recorderdlg.h"

#include "ui_Calculatededitanswerframe.h"
#include "ui_Essayeditfeedbackframe.h"
#include "ui_Headereditquestionframe.h"
#include "ui_Matchingeditanswerframe.h"
#include "ui_Multichoiceeditanswerframe.h"
#include "ui_Multichoiceeditfeedbackframe.h"
#include "ui_Multichoicev3editanswerframe.h"
#include "ui_Numericaleditanswerframe.h"
#include "ui_Playerframe.h"
#include "ui_Randomshortanswermatchingeditanswerframe.h"
#include "ui_Recorderdlg.h"
#include "ui_Shortanswereditanswerframe.h"
#include "ui_Truefalseeditanswerframe.h"
#include "ui_Truefalseeditfeedbackframe.h"

#include "editing/frames/WaveCommands.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/items/Grades.h"
#include "model/storage/Datastorage.h"
#include "model/storage/NativeBook.h"
#include "model/support/Prefs.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichViewEdit.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/RichXml.h"
#include "tests/support/ScratchHome.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>

#include <iostream>
#include <string>

namespace
{

void Save(QWidget& widget, const QString& folder, const char* name)
{
    widget.show();
    QApplication::processEvents();
    const QString path = folder + "/" + name + ".png";
    widget.grab().save(path);
    std::cout << path.toStdString() << "\n";
    widget.hide();
}

// A stored text into an editor: rich text as it is, a plain text (as the sample book has) as typed.
void Fill(lf::qt::RichViewEdit* editor, const std::string& stored)
{
    if (XMLTextHasRoot(stored, "LFDRoot"))
    {
        lf::ReadRichXml(stored, editor->Document());
        editor->Document().styles = lf::RichStyleSheet::Default();
        editor->Format();
    }
    else
        editor->InsertText(stored);
}

QString Plain(const std::string& stored)
{
    lf::RichDocument scratch;
    std::string text;
    GetPlainTextFromXML(stored, scratch, text, true);
    return lf::qt::ToQString(text);
}

CBaseItem* FirstOfKind(CItemsArray2& items, int kind)
{
    for (int i = 0; i < items.GetCount(); ++i)
        if (items.GetItem(i)->GetQuestionType() == kind)
            return items.GetItem(i);
    return nullptr;
}

SAnswerItem* Answer(CBaseItem* item, int i)
{
    SAnswerItem* answer = nullptr;
    return item != nullptr && i < item->GetAnswerCount() && item->GetAnswer(i, answer) ? answer : nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::cerr << "usage: lf_frames_tour <output folder>\n";
        return 2;
    }
    const auto home = lf::test::EnterScratchHome();
    QApplication app(argc, argv);
    QIcon::setThemeName("Adwaita"); // as the program sets it
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    CPrefs prefs;
    CItemsArray2 items;
    if (!LoadNativeBook(LF_SOURCE_DIR "/samples/The Sample Book.lnf", &items, SBookReadOptions{},
                        SBookProgress{}))
    {
        std::cerr << "the sample book cannot be read\n";
        return 1;
    }

    {
        TCMultiChoiceEditAnswerFrame frame;
        CBaseItem* item = FirstOfKind(items, qtMultipleChoice);
        lf::qt::RichViewEdit* answers[] = {frame.Form().m_pAnswer1RVE, frame.Form().m_pAnswer2RVE,
                                           frame.Form().m_pAnswer3RVE, frame.Form().m_pAnswer4RVE,
                                           frame.Form().m_pAnswer5RVE};
        QComboBox* grades[] = {frame.Form().m_pGrade1ComboBox, frame.Form().m_pGrade2ComboBox,
                               frame.Form().m_pGrade3ComboBox, frame.Form().m_pGrade4ComboBox,
                               frame.Form().m_pGrade5ComboBox};
        lf::qt::RichViewEdit* feedbacks[] = {
            frame.Form().m_pAnswerFeedback1RVE, frame.Form().m_pAnswerFeedback2RVE,
            frame.Form().m_pAnswerFeedback3RVE, frame.Form().m_pAnswerFeedback4RVE,
            frame.Form().m_pAnswerFeedback5RVE};
        for (int i = 0; i < 5; ++i)
            if (SAnswerItem* answer = Answer(item, i))
            {
                Fill(answers[i], answer->AnswerText);
                Fill(feedbacks[i], answer->Feedback);
                grades[i]->setCurrentIndex(GradeFractionToIndex(answer->Correct));
            }
        Save(frame, out, "frame-multichoice");

        TCMultiChoiceV3EditAnswerFrame plain;
        QCheckBox* boxes[] = {plain.Form().m_pGrade1CheckBox, plain.Form().m_pGrade2CheckBox,
                              plain.Form().m_pGrade3CheckBox, plain.Form().m_pGrade4CheckBox,
                              plain.Form().m_pGrade5CheckBox};
        lf::qt::RichViewEdit* plainAnswers[] = {plain.Form().m_pAnswer1RVE, plain.Form().m_pAnswer2RVE,
                                                plain.Form().m_pAnswer3RVE, plain.Form().m_pAnswer4RVE,
                                                plain.Form().m_pAnswer5RVE};
        for (int i = 0; i < 5; ++i)
            if (SAnswerItem* answer = Answer(item, i))
            {
                Fill(plainAnswers[i], answer->AnswerText);
                boxes[i]->setChecked(IsCreditedGrade(answer->Correct) && answer->Correct != "");
            }
        Save(plain, out, "frame-multichoice-plain");

        TCMultiChoiceEditFeedbackFrame feedback;
        if (auto* choice = item != nullptr ? item->GetMultipleChoice() : nullptr)
        {
            Fill(feedback.Form().m_pOverallFeedback1RVE, choice->GetFeedbackForAnyCorrectResponse());
            Fill(feedback.Form().m_pOverallFeedback2RVE, choice->GetFeedbackForAnyPartiallyCorrectResponse());
            Fill(feedback.Form().m_pOverallFeedback3RVE, choice->GetFeedbackForAnyIncorrectResponse());
        }
        Save(feedback, out, "frame-multichoice-feedback");

        TCHeaderEditQuestionFrame header(prefs);
        header.Form().m_pQuestionNameStr->setText(lf::qt::ToQString(item->GetName()));
        header.Form().m_pImageStr->setText("pics\\mercury.png");
        header.Form().m_pVoiceStr->setText("The Sample Book_692421785_q_1.wav");
        Save(header, out, "frame-header");
    }
    {
        CBaseItem* item = FirstOfKind(items, qtTrueFalse);
        TCTrueFalseEditAnswerFrame frame;
        if (SAnswerItem* answer = Answer(item, 0))
            frame.Form().m_pTrueFalseComboBox->setCurrentIndex(answer->Correct == "1" ? 1 : 0);
        Save(frame, out, "frame-truefalse");
        TCTrueFalseEditFeedbackFrame feedback;
        if (auto* trueFalse = item != nullptr ? item->GetTrueFalse() : nullptr)
        {
            Fill(feedback.Form().m_pFeedBackForTrueRVE, trueFalse->GetFeedbackForTheResponseTrue());
            Fill(feedback.Form().m_pFeedBackForFalseRVE, trueFalse->GetFeedbackForTheResponseFalse());
        }
        Save(feedback, out, "frame-truefalse-feedback");
    }
    {
        CBaseItem* item = FirstOfKind(items, qtEssay);
        TCEssayEditFeedbackFrame frame;
        if (SAnswerItem* answer = Answer(item, 0))
            Fill(frame.Form().m_pFeedBackRVE, answer->Feedback);
        Save(frame, out, "frame-essay-feedback");
    }
    {
        CBaseItem* item = FirstOfKind(items, qtShortAnswer);
        TCShortAnswerEditAnswerFrame frame;
        QLineEdit* answers[] = {frame.Form().m_pAnswer1, frame.Form().m_pAnswer2, frame.Form().m_pAnswer3,
                                frame.Form().m_pAnswer4, frame.Form().m_pAnswer5};
        for (int i = 0; i < 5; ++i)
            if (SAnswerItem* answer = Answer(item, i))
            {
                answers[i]->setText(Plain(answer->AnswerText));
                frame.GradeComboBox(i + 1)->setCurrentIndex(GradeFractionToIndex(answer->Correct));
            }
        Save(frame, out, "frame-shortanswer");
    }
    {
        CBaseItem* item = FirstOfKind(items, qtMatching);
        TCMatchingEditAnswerFrame frame;
        lf::qt::RichViewEdit* questions[] = {frame.Form().m_pQuestion1RVE, frame.Form().m_pQuestion2RVE,
                                             frame.Form().m_pQuestion3RVE, frame.Form().m_pQuestion4RVE,
                                             frame.Form().m_pQuestion5RVE};
        QLineEdit* partners[] = {frame.Form().m_pAnswer1Str, frame.Form().m_pAnswer2Str,
                                 frame.Form().m_pAnswer3Str, frame.Form().m_pAnswer4Str,
                                 frame.Form().m_pAnswer5Str};
        for (int i = 0; i < 5; ++i)
            if (SAnswerItem* answer = Answer(item, i))
            {
                Fill(questions[i], answer->AnswerText);
                partners[i]->setText(Plain(answer->Correct));
            }
        Save(frame, out, "frame-matching");
    }
    {
        CBaseItem* item = FirstOfKind(items, qtNumerical);
        TCNumericalEditAnswerFrame frame;
        QLineEdit* answers[] = {frame.Form().m_pAnswer1, frame.Form().m_pAnswer2, frame.Form().m_pAnswer3,
                                frame.Form().m_pAnswer4, frame.Form().m_pAnswer5};
        QLineEdit* errors[] = {frame.Form().m_pAcceptedError1Str, frame.Form().m_pAcceptedError2Str,
                               frame.Form().m_pAcceptedError3Str, frame.Form().m_pAcceptedError4Str,
                               frame.Form().m_pAcceptedError5Str};
        lf::qt::RichViewEdit* feedbacks[] = {
            frame.Form().m_pAnswerFeedback1RVE, frame.Form().m_pAnswerFeedback2RVE,
            frame.Form().m_pAnswerFeedback3RVE, frame.Form().m_pAnswerFeedback4RVE,
            frame.Form().m_pAnswerFeedback5RVE};
        for (int i = 0; i < 5; ++i)
            if (SAnswerItem* answer = Answer(item, i))
            {
                answers[i]->setText(Plain(answer->AnswerText));
                errors[i]->setText(lf::qt::ToQString(answer->Tolerance));
                frame.GradeComboBox(i + 1)->setCurrentIndex(GradeFractionToIndex(answer->Correct));
                Fill(feedbacks[i], answer->Feedback);
            }
        SUnitItem* unit = nullptr;
        if (item != nullptr && item->GetUnitCount() > 0 && item->GetUnitList()->GetUnit(0, unit))
        {
            frame.Form().m_pUnitValueStr->setText(lf::qt::ToQString(unit->Value));
            frame.Form().m_pUnitDescriptionStr->setText(lf::qt::ToQString(unit->Description));
        }
        Save(frame, out, "frame-numerical");
    }
    {
        TCCalculatedEditAnswerFrame frame;
        frame.Form().m_pAnswerFormula->setText("{a} * {b}");
        frame.Form().m_pUnitValueStr->setText("1");
        frame.Form().m_pUnitDescriptionStr->setText("m");
        Save(frame, out, "frame-calculated");
        frame.m_pViewPanel->hide();
        frame.m_pViewPanelPage2->show();
        frame.Form().m_pPreviewStr->setPlainText("a = 2, b = 3: 6");
        Save(frame, out, "frame-calculated-page2");

        TCRandomShortAnswerMatchingEditAnswerFrame random;
        random.Form().m_pQuestionNumberComboBox->setCurrentText("4");
        Save(random, out, "frame-random-matching");
    }
    {
        TCPlayerFrame player;
        Save(player, out, "frame-player");
        const std::string sound = QDir::tempPath().toStdString() + "/lf-tour-tone.wav";
        std::string samples;
        for (int i = 0; i < 16000; ++i)
            samples += static_cast<char>((i / 10) % 2 ? 0xA0 : 0x60);
        WriteWaveFile(sound, SWaveFormat(), samples);
        player.PlayFile(sound);
        QTimer::singleShot(800, &app, &QApplication::quit);
        app.exec();
        Save(player, out, "frame-player-playing");

        TCRecorderDlg recorder;
        recorder.SetFileName(sound);
        Save(recorder, out, "recorder");
        QDir().remove(QString::fromStdString(sound));
    }
    lf::test::LeaveScratchHome(home);
    return 0;
}
