#pragma once

#include "platform/drives.h"
#include "platform/registry.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

// A registry holding the values a test puts in it.
class CFakeRegistry : public IRegistry
{
public:
    void Set(const std::string& strKey, const std::string& strValueName,
             const std::string& strValue)
    {
        m_values[{strKey, strValueName}] = strValue;
    }
    bool ReadUserString(const std::string& strKey, const std::string& strValueName,
                        std::string& strResult) const override
    {
        const auto it = m_values.find({strKey, strValueName});
        if (it == m_values.end())
            return false;
        strResult = it->second;
        return true;
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

// Fixed drives that are folders of a test.
class CFakeDrives : public IDriveSource
{
public:
    explicit CFakeDrives(std::vector<std::string> drives) : m_drives(std::move(drives)) {}
    std::vector<CDrive> ListDrives() const override
    {
        std::vector<CDrive> drives;
        for (const std::string& strDrive : m_drives)
            drives.push_back({strDrive, EDriveType::Fixed});
        return drives;
    }
    EDriveType GetDriveType(const std::string& strDrive) const override
    {
        for (const std::string& strKnown : m_drives)
            if (strKnown == strDrive)
                return EDriveType::Fixed;
        return EDriveType::Other;
    }
    std::vector<std::string> ListForeignFolders(const std::string&) const override { return {}; }

private:
    std::vector<std::string> m_drives;
};
