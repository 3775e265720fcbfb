#include "platform/drives.h"

#include <windows.h>
// windows.h maps GetDriveType to GetDriveTypeA, which would rename the interface's member.
#undef GetDriveType

namespace
{
EDriveType TypeOfRoot(const std::string& strRoot)
{
    switch (GetDriveTypeA(strRoot.c_str()))
    {
    case DRIVE_FIXED:
        return EDriveType::Fixed;
    case DRIVE_REMOTE:
        return EDriveType::Network;
    default:
        return EDriveType::Other;
    }
}

class CWindowsDrives : public IDriveSource
{
public:
    std::vector<CDrive> ListDrives() const override
    {
        std::vector<CDrive> drives;
        for (char cLetter = 'C'; cLetter <= 'Y'; ++cLetter)
        {
            const std::string strName = std::string(1, cLetter) + ":";
            const EDriveType type = TypeOfRoot(strName + "\\");
            if (type != EDriveType::Other)
                drives.push_back({strName, type});
        }
        return drives;
    }

    EDriveType GetDriveType(const std::string& strDrive) const override
    {
        return TypeOfRoot(strDrive + "\\");
    }

    // Every drive letter is a tree of its own.
    std::vector<std::string> ListForeignFolders(const std::string&) const override { return {}; }
};
} // namespace

const IDriveSource& GetSystemDrives()
{
    static const CWindowsDrives s_drives;
    return s_drives;
}
