#pragma once

#include "platform/drives.h"

#include <string>
#include <vector>

// One line of a mount table (/proc/self/mounts).
struct CMountEntry
{
    std::string strMountPoint; // with the table's \040-style escapes decoded
    std::string strType;
};

// The entries of a mount table's text; lines with fewer than three fields are skipped.
std::vector<CMountEntry> ParseMountTable(const std::string& strText);

// Fixed for local disk file systems, Network for network ones, Other for
// pseudo and unknown file systems.
EDriveType DriveTypeOfFileSystem(const std::string& strType);

// The fixed and network drives of a table, sorted by mount point: mount points
// that are folders, each once, typed by its last mount (the one in sight).
std::vector<CDrive> DrivesOfMountTable(const std::vector<CMountEntry>& entries);

// The drives of the mount table file at a path, read afresh at every call.
class CMountTableDrives : public IDriveSource
{
public:
    explicit CMountTableDrives(std::string strTablePath) : m_strTablePath(std::move(strTablePath))
    {
    }
    std::vector<CDrive> ListDrives() const override;
    EDriveType GetDriveType(const std::string& strDrive) const override;
    std::vector<std::string> ListForeignFolders(const std::string& strDrive) const override;

private:
    std::vector<CMountEntry> ReadTable() const;

    std::string m_strTablePath;
};
