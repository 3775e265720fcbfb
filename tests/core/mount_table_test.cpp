#include "platform/mount_table.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

TEST(MountTable, ParsesFieldsAndDecodesEscapes)
{
    const auto entries =
        ParseMountTable("/dev/sda1 / ext4 rw 0 0\n"
                        "server:/x /mnt/my\\040disk\\011tab\\012nl\\134bs nfs4 rw 0 0\n"
                        "short line\n"
                        "\n"
                        "d /odd\\04 ext4 rw 0 0\n"
                        "d\t/tabbed\txfs\trw\n");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].strMountPoint, "/");
    EXPECT_EQ(entries[0].strType, "ext4");
    EXPECT_EQ(entries[1].strMountPoint, "/mnt/my disk\ttab\nnl\\bs");
    EXPECT_EQ(entries[1].strType, "nfs4");
    EXPECT_EQ(entries[2].strMountPoint, "/odd\\04");
    EXPECT_EQ(entries[3].strMountPoint, "/tabbed");
    using namespace std::string_literals;
    EXPECT_TRUE(ParseMountTable("\0\0\xff garbage\n\\\\\\"s).empty());
}

TEST(MountTable, ClassifiesFileSystems)
{
    for (const char* pType : {"ext4", "xfs", "btrfs", "vfat", "ntfs3", "overlay", "zfs"})
        EXPECT_EQ(DriveTypeOfFileSystem(pType), EDriveType::Fixed) << pType;
    for (const char* pType : {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs", "9p"})
        EXPECT_EQ(DriveTypeOfFileSystem(pType), EDriveType::Network) << pType;
    for (const char* pType : {"proc", "sysfs", "tmpfs", "devtmpfs", "cgroup2", "squashfs", "autofs",
                              "binfmt_misc", "iso9660", "unknownfs", ""})
        EXPECT_EQ(DriveTypeOfFileSystem(pType), EDriveType::Other) << pType;
}

TEST(MountTable, DrivesAreFoldersListedOnceInOrder)
{
    CTempDir dir;
    const std::string strData = dir.MakeDir("data");
    const std::string strShare = dir.MakeDir("share");
    const std::string strProc = dir.MakeDir("proc");
    const std::string strFile = dir.Write("resolv.conf", "");
    const std::string strTable = "overlay / overlay rw 0 0\n"
                                 "/dev/sdb1 " +
                                 strShare +
                                 " ext4 rw 0 0\n"
                                 "/dev/sda2 " +
                                 strData +
                                 " ext4 rw 0 0\n"
                                 "/dev/sda2 " +
                                 strData +
                                 " ext4 ro 0 0\n"
                                 "srv:/s " +
                                 strShare +
                                 " nfs rw 0 0\n"
                                 "proc " +
                                 strProc +
                                 " proc rw 0 0\n"
                                 "/dev/sda2 " +
                                 strFile +
                                 " ext4 rw 0 0\n"
                                 "/dev/sda3 " +
                                 dir.File("missing") + " ext4 rw 0 0\n";
    const auto drives = DrivesOfMountTable(ParseMountTable(strTable));
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].strName, "/");
    EXPECT_EQ(drives[1].strName, strData);
    EXPECT_EQ(drives[1].type, EDriveType::Fixed);
    EXPECT_EQ(drives[2].strName, strShare);
    EXPECT_EQ(drives[2].type, EDriveType::Network); // the last mount is the one in sight

    const CMountTableDrives source(dir.Write("mounts", strTable));
    EXPECT_EQ(source.GetDriveType("/"), EDriveType::Fixed);
    EXPECT_EQ(source.GetDriveType(strShare), EDriveType::Network);
    EXPECT_EQ(source.GetDriveType(strProc), EDriveType::Other);
    EXPECT_EQ(source.GetDriveType("C:"), EDriveType::Other);
    const auto foreign = source.ListForeignFolders(dir.Path());
    EXPECT_EQ(foreign.size(), 5u); // data, share, proc, the file and the missing one
    EXPECT_EQ(source.ListForeignFolders(strData), std::vector<std::string>{});
    EXPECT_TRUE(CMountTableDrives(dir.File("no-table")).ListDrives().empty());
}
