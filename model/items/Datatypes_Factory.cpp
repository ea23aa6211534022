// The item factory: one place that knows which class stands for which kind code.
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"

std::unique_ptr<CBaseItem> MakeItemOfKind(int kind)
{
    switch (kind)
    {
    case qtMultipleChoice:
        return std::make_unique<CMultipleChoiceItem>();
    case qtTrueFalse:
        return std::make_unique<CTrueFalseItem>();
    case qtDescription:
        return std::make_unique<CDescriptionItem>();
    case qtEssay:
        return std::make_unique<CEssayItem>();
    case qtShortAnswer:
        return std::make_unique<CShortAnswerItem>();
    case qtMatching:
        return std::make_unique<CMatchingItem>();
    case qtCalculated:
        return std::make_unique<CCalculatedItem>();
    case qtNumerical:
        return std::make_unique<CNumericalItem>();
    case qtRandomShortAnswerMatching:
        return std::make_unique<CRandomShortAnswerMatchingItem>();
    case qtEmbedded:
        return std::make_unique<CEmbeddedItem>();
    default:
        return nullptr;
    }
}
