#include "platform/registry.h"
#include "platform/wine_prefix.h"

namespace
{
// Looks the prefix up at every read, so a prefix made while the program runs counts.
class CUserWineRegistry : public IRegistry
{
public:
    bool ReadUserString(const std::string& strKey, const std::string& strValueName,
                        std::string& strResult) const override
    {
        return CWineRegistry(FindWinePrefix()).ReadUserString(strKey, strValueName, strResult);
    }
};
} // namespace

const IRegistry& GetSystemRegistry()
{
    static const CUserWineRegistry s_registry;
    return s_registry;
}
