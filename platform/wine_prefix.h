#pragma once

#include "platform/registry.h"

#include <string>

// Windows programs on this system run under Wine, whose prefix holds their
// registry and C: drive. These helpers read that registry and turn its Windows
// paths into host paths.

// $WINEPREFIX, else ~/.wine; "" when that is not a folder.
std::string FindWinePrefix();

// Reads the string value strValueName of the key strKey (below the current
// user's key, with single backslashes) from a Wine user registry file
// (user.reg). Names match without regard to case; values of other types
// (str(2):, dword:, hex:) are not strings. False when the file, the key or the
// value is missing or malformed.
bool ReadWineRegistryString(const std::string& strRegFile, const std::string& strKey,
                            const std::string& strValueName, std::string& strResult);

// The host path of a Windows path ("C:\users\me\Cookies") in a prefix, through
// the prefix's dosdevices links; each part takes the case it has on disk when
// only a case-blind match exists. "" when the path has no drive letter or the
// prefix has no such drive.
std::string MapWinePath(const std::string& strPrefix, const std::string& strWindowsPath);

// The registry of one Wine prefix: values are read from its user.reg and
// returned as host paths.
class CWineRegistry : public IRegistry
{
public:
    explicit CWineRegistry(std::string strPrefix) : m_strPrefix(std::move(strPrefix)) {}
    bool ReadUserString(const std::string& strKey, const std::string& strValueName,
                        std::string& strResult) const override;

private:
    std::string m_strPrefix;
};
