#pragma once

#include <string>

// The two registry values that name the browsers' cookie stores, under the
// current user's key.
#define REGKEY_SHELL_FOLDERS "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"
#define REGVALUE_COOKIES "Cookies"
#define REGKEY_NETSCAPE_COOKIES "Software\\Netscape\\Netscape Navigator\\Cookies"
#define REGVALUE_COOKIE_FILE "Cookie File"

// The longest value text a registry read accepts (a 259-byte buffer with its NUL).
constexpr size_t REGISTRY_VALUE_MAX = 258;

// Read access to string values under the current user's registry key.
class IRegistry
{
public:
    virtual ~IRegistry() = default;
    // Reads a string value of a key below the current user's key into strResult,
    // given as a path of this platform. False when the key or the value is
    // missing, unreadable or longer than REGISTRY_VALUE_MAX.
    virtual bool ReadUserString(const std::string& strKey, const std::string& strValueName,
                                std::string& strResult) const = 0;
};

// The registry of this system: the real one on Windows; elsewhere the current
// user's Wine prefix, whose Windows paths are turned into host paths.
const IRegistry& GetSystemRegistry();
