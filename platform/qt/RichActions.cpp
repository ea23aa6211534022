#include "platform/qt/RichActions.h"

#include "platform/qt/QtFormat.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichViewEdit.h"

#include <QTextCharFormat>

#include <algorithm>

namespace lf::qt
{

bool TrvActionFontEx::Execute(RichViewEdit& editor)
{
    if (UserInterface && !CurrentDialogs().ChooseFont(&editor, Font))
        return false;
    if ((ValidProperties & kRichFontAll) == 0)
        return false;
    // Only the properties set in the format change; the editor reads the runs back into the styles of
    // its sheet, finding or adding the style of each new look.
    QTextCharFormat format;
    if ((ValidProperties & kRichFontName) != 0 && !Font.name.empty())
        format.setFontFamilies(QStringList{ToQString(Font.name)});
    if ((ValidProperties & kRichFontSize) != 0 && Font.size > 0)
        format.setFontPointSize(std::max(1, Font.size + editor.ZoomStep())); // drawn at the zoomed size
    if ((ValidProperties & kRichFontColor) != 0)
        format.setForeground(ToQColor(Font.color));
    if ((ValidProperties & kRichFontStyle) != 0)
    {
        format.setFontWeight(Font.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(Font.italic);
        format.setFontUnderline(Font.underline);
        format.setFontStrikeOut(Font.strikeOut);
    }
    if (format.properties().isEmpty())
        return false;
    editor.mergeCurrentCharFormat(format);
    return true;
}

bool ApplyFontProperties(TrvActionFontEx& action, RichViewEdit& editor, unsigned properties,
                         const SFontChoice& font)
{
    action.UserInterface = false;
    action.ValidProperties = properties;
    action.Font = font;
    const bool applied = action.Execute(editor);
    action.UserInterface = true;
    return applied;
}

} // namespace lf::qt
