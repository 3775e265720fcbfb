// The mount-table reader on arbitrary text: every listed drive is a fixed or
// network drive, listed once, in ascending order.
#include "platform/mount_table.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strText(reinterpret_cast<const char*>(pData), nSize);
    const std::vector<CDrive> drives = DrivesOfMountTable(ParseMountTable(strText));
    for (size_t i = 0; i < drives.size(); ++i)
    {
        if (drives[i].type != EDriveType::Fixed && drives[i].type != EDriveType::Network)
            std::abort();
        if (i > 0 && !(drives[i - 1].strName < drives[i].strName))
            std::abort();
    }
    return 0;
}
