#include "platform/mount_table.h"

#include "platform/text_file.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

namespace
{
bool IsOctal(char c)
{
    return c >= '0' && c <= '7';
}

// Decodes the table's escapes: a backslash and three octal digits stand for
// one byte (\040 space, \011 tab, \012 line feed, \134 backslash).
std::string DecodeField(const std::string& strField)
{
    std::string strOut;
    for (size_t i = 0; i < strField.size(); ++i)
    {
        if (strField[i] == '\\' && i + 3 < strField.size() && IsOctal(strField[i + 1]) &&
            IsOctal(strField[i + 2]) && IsOctal(strField[i + 3]))
        {
            strOut += static_cast<char>(((strField[i + 1] - '0') << 6) |
                                        ((strField[i + 2] - '0') << 3) | (strField[i + 3] - '0'));
            i += 3;
        }
        else
            strOut += strField[i];
    }
    return strOut;
}

bool IsFolder(const std::string& strPath)
{
    std::error_code ec;
    return std::filesystem::is_directory(strPath, ec);
}

bool LiesInside(const std::string& strPath, const std::string& strFolder)
{
    if (strFolder == "/")
        return strPath.size() > 1 && strPath[0] == '/';
    return strPath.size() > strFolder.size() + 1 &&
           strPath.compare(0, strFolder.size(), strFolder) == 0 && strPath[strFolder.size()] == '/';
}
} // namespace

std::vector<CMountEntry> ParseMountTable(const std::string& strText)
{
    std::vector<CMountEntry> entries;
    std::istringstream lines(strText);
    std::string strLine;
    while (std::getline(lines, strLine))
    {
        std::istringstream fields(strLine);
        std::string strDevice, strMountPoint, strType;
        if (fields >> strDevice >> strMountPoint >> strType)
            entries.push_back({DecodeField(strMountPoint), strType});
    }
    return entries;
}

EDriveType DriveTypeOfFileSystem(const std::string& strType)
{
    // overlay counts as a local disk: it is the root of containers and lies on one.
    static const std::set<std::string> s_fixed = {
        "ext2",     "ext3",    "ext4",   "xfs",      "btrfs",  "vfat", "msdos",
        "exfat",    "ntfs",    "ntfs3",  "fuseblk",  "f2fs",   "zfs",  "jfs",
        "reiserfs", "hfsplus", "nilfs2", "bcachefs", "overlay"};
    static const std::set<std::string> s_network = {
        "nfs", "nfs4", "cifs",      "smb3",           "smbfs", "sshfs",       "fuse.sshfs", "9p",
        "afs", "ceph", "glusterfs", "fuse.glusterfs", "davfs", "fuse.davfs2", "ncpfs"};
    if (s_fixed.count(strType))
        return EDriveType::Fixed;
    if (s_network.count(strType))
        return EDriveType::Network;
    return EDriveType::Other;
}

std::vector<CDrive> DrivesOfMountTable(const std::vector<CMountEntry>& entries)
{
    std::map<std::string, EDriveType> lastMount;
    for (const CMountEntry& entry : entries)
        lastMount[entry.strMountPoint] = DriveTypeOfFileSystem(entry.strType);
    std::vector<CDrive> drives;
    for (const auto& [strMountPoint, type] : lastMount)
        if (type != EDriveType::Other && IsFolder(strMountPoint))
            drives.push_back({strMountPoint, type});
    return drives;
}

std::vector<CMountEntry> CMountTableDrives::ReadTable() const
{
    std::string strText;
    ReadFileBytes(m_strTablePath, std::string::npos, strText);
    return ParseMountTable(strText);
}

std::vector<CDrive> CMountTableDrives::ListDrives() const
{
    return DrivesOfMountTable(ReadTable());
}

EDriveType CMountTableDrives::GetDriveType(const std::string& strDrive) const
{
    for (const CDrive& drive : ListDrives())
        if (drive.strName == strDrive)
            return drive.type;
    return EDriveType::Other;
}

std::vector<std::string> CMountTableDrives::ListForeignFolders(const std::string& strDrive) const
{
    std::vector<std::string> folders;
    for (const CMountEntry& entry : ReadTable())
        if (LiesInside(entry.strMountPoint, strDrive))
            folders.push_back(entry.strMountPoint);
    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    return folders;
}
