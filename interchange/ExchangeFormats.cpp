#include "interchange/ExchangeFormats.h"

#include "interchange/DelimitedText.h"
#include "interchange/ExchangeContext.h"
#include "interchange/MoodleXml.h"
#include "model/storage/Datastorage.h"

namespace
{

class ExchangeFormats final : public IExchangeFormats
{
public:
    bool LoadMoodleXML(CDataStorage& storage, const std::string& fileName, CItemsArray2* items,
                       bool clearFirst) override
    {
        return ::LoadMoodleXML(fileName, items, clearFirst, SExchangeContext::Of(storage));
    }

    bool SaveMooldeXML(CDataStorage& storage, const std::string& fileName, CItemsArray2* items,
                       bool keepName) override
    {
        return ::SaveMooldeXML(fileName, items, keepName, SExchangeContext::Of(storage));
    }

    bool LoadDelimitedText(CDataStorage& storage, int format, const std::string& fileName,
                           CItemsArray2* items, const std::string& separator, bool clearFirst) override
    {
        return ::LoadDelimitedText(static_cast<EDelimitedFormat>(format), fileName, items, separator,
                                   clearFirst, SExchangeContext::Of(storage));
    }

    bool SaveDelimitedText(CDataStorage& storage, bool csv, const std::string& fileName, CItemsArray2* items,
                           const std::string& separator, bool withExplanation, bool keepName) override
    {
        return ::SaveDelimitedText(csv, fileName, items, separator, withExplanation, keepName,
                                   SExchangeContext::Of(storage));
    }

    CBaseItem* AddQuestionFromRow(bool excelRow, const CStringArray& fields, CItemsArray2* items, int kind,
                                  std::int32_t position, bool recordUndo) override
    {
        return excelRow ? ::AddQuestionFromExcelRow(fields, items, kind, position, recordUndo)
                        : ::AddQuestionFromFields(fields, items, kind, position, recordUndo);
    }

    bool CopySelectionToClipboard(CDataStorage& storage, bool excel, CItemsArray2* items,
                                  const std::string& separator, bool withExplanation) override
    {
        return ::CopySelectionToClipboard(excel, items, separator, withExplanation,
                                          SExchangeContext::Of(storage));
    }
};

} // namespace

namespace lf
{

std::unique_ptr<IExchangeFormats> MakeExchangeFormats()
{
    return std::make_unique<ExchangeFormats>();
}

} // namespace lf
