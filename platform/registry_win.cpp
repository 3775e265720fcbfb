#include "platform/registry.h"

#include <windows.h>

namespace
{
class CWindowsRegistry : public IRegistry
{
public:
    bool ReadUserString(const std::string& strKey, const std::string& strValueName,
                        std::string& strResult) const override
    {
        HKEY hKey = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, strKey.c_str(), 0, KEY_QUERY_VALUE, &hKey) !=
            ERROR_SUCCESS)
            return false;
        char szValue[REGISTRY_VALUE_MAX + 2] = {};
        DWORD nType = 0;
        DWORD nSize = REGISTRY_VALUE_MAX + 1;
        const bool bOk =
            RegQueryValueExA(hKey, strValueName.c_str(), nullptr, &nType,
                             reinterpret_cast<BYTE*>(szValue), &nSize) == ERROR_SUCCESS &&
            nType == REG_SZ;
        RegCloseKey(hKey);
        if (bOk)
            strResult = szValue;
        return bOk;
    }
};
} // namespace

const IRegistry& GetSystemRegistry()
{
    static const CWindowsRegistry s_registry;
    return s_registry;
}
