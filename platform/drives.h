#pragma once

#include "platform/path.h"

#include <string>
#include <vector>

// The kinds of drive that matter to a cookie search.
enum class EDriveType
{
    Other, // missing, removable, pseudo file system...: never listed or searched
    Fixed,
    Network,
};

struct CDrive
{
    std::string strName; // "C:" on Windows, a mount point ("/", "/home") elsewhere
    EDriveType type = EDriveType::Other;
};

// The drive searched when none is chosen.
#ifdef _WIN32
#define DEFAULT_SEARCH_DRIVE "C:"
#else
#define DEFAULT_SEARCH_DRIVE "/"
#endif

// The drives of a system.
class IDriveSource
{
public:
    virtual ~IDriveSource() = default;
    // The fixed and network drives, in no particular order.
    virtual std::vector<CDrive> ListDrives() const = 0;
    // The type of one drive, given by its name; Other when it is not a drive.
    virtual EDriveType GetDriveType(const std::string& strDrive) const = 0;
    // Folders inside strDrive that belong to other file systems (other drives,
    // pseudo file systems), which a search of strDrive does not enter.
    virtual std::vector<std::string> ListForeignFolders(const std::string& strDrive) const = 0;
};

// The drives of this system: the letters C to Y on Windows, the mount table elsewhere.
const IDriveSource& GetSystemDrives();
