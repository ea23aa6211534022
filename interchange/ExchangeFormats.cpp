#include "interchange/ExchangeFormats.h"

#include "interchange/DelimitedText.h"
#include "interchange/ExchangeContext.h"
#include "interchange/MoodleXml.h"
#include "interchange/ReaderBook.h"
#include "model/storage/Datastorage.h"

namespace
{

class ExchangeFormats final : public IExchangeFormats
{
public:
    explicit ExchangeFormats(const lf::IPictureRaster* pictures) : m_pictures(pictures) {}

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

    bool SaveReaderBook(CDataStorage& storage, const std::string& fileName, CItemsArray2* items,
                        bool keepName) override
    {
        SExchangeContext context = SExchangeContext::Of(storage);
        context.pictures = m_pictures;
        return ::SaveKindleXML(fileName, items, keepName, context);
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

private:
    const lf::IPictureRaster* m_pictures; // not owned
};

} // namespace

namespace lf
{

std::unique_ptr<IExchangeFormats> MakeExchangeFormats(const IPictureRaster* pictures)
{
    return std::make_unique<ExchangeFormats>(pictures);
}

} // namespace lf
