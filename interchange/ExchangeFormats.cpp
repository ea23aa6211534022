#include "interchange/ExchangeFormats.h"

#include "interchange/ExchangeContext.h"
#include "interchange/MoodleXml.h"
#include "model/Datastorage.h"
#include "model/Log.h"

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

    bool LoadDelimitedText(CDataStorage&, int, const std::string&, CItemsArray2*, const std::string&,
                           bool) override
    {
        WriteLog("LoadDelimitedText - not built yet", 1, 1);
        return false;
    }

    bool SaveDelimitedText(CDataStorage&, bool, const std::string&, CItemsArray2*, const std::string&, bool,
                           bool) override
    {
        WriteLog("SaveDelimitedText - not built yet", 1, 1);
        return false;
    }

    CBaseItem* AddQuestionFromRow(bool, const CStringArray&, CItemsArray2*, int, std::int32_t, bool) override
    {
        WriteLog("AddQuestionFromRow - not built yet", 1, 1);
        return nullptr;
    }

    bool CopySelectionToClipboard(CDataStorage&, bool, CItemsArray2*, const std::string&, bool) override
    {
        WriteLog("CopySelectionToClipboard - not built yet", 1, 1);
        return false;
    }
};

} // namespace

namespace lf
{

void InstallExchangeFormats()
{
    static ExchangeFormats formats;
    CDataStorage::SetExchangeFormats(&formats);
}

} // namespace lf
