#include "platform/drives.h"
#include "platform/mount_table.h"

const IDriveSource& GetSystemDrives()
{
    static const CMountTableDrives s_drives("/proc/self/mounts");
    return s_drives;
}
