#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"
#include "ui/Volumes.h"

namespace vxa::test {
namespace {

TEST(DriveList, ListsTheRootTheHomeAndRealFilesystemsOnly) {
    TempDir t;
    for (const char* d : {"home", "usb", "nas", "cd", "data", "data2"}) {
        std::filesystem::create_directory(t.file(d));
    }
    const std::string hosts = t.write("hosts", "");
    const std::vector<MountedVolume> mounts{
        {"/", "ext4", "", true},
        {"/proc", "proc", "", true},
        {"/sys/fs/cgroup", "cgroup2", "", true},
        {"/dev/shm", "tmpfs", "", true},
        {"/run/user/1000", "tmpfs", "", true},
        {"/snap/core/123", "squashfs", "", true},
        {"/boot/efi", "vfat", "", true},
        {t.file("usb") + "/", "vfat", "STICK", true},
        {t.file("nas"), "nfs4", "", true},
        {t.file("cd"), "iso9660", "GAME_CD", true},
        {t.file("data"), "ext4", "", true},
        {t.file("data"), "ext4", "", true},    // bind-mounted twice
        {t.file("data2"), "ext4", "", false},  // not ready
        {t.file("home"), "ext4", "", true},    // the home folder's own mount
        {hosts, "ext4", "", true},             // a single file
        {t.file("gone"), "ext4", "", true},
    };
    const auto drives = DriveList(mounts, t.file("home"));
    const std::vector<DriveEntry> expected{
        {"", "/", VolumeKind::Root},
        {t.file("home"), "Home (" + t.file("home") + ")", VolumeKind::Home},
        {t.file("cd"), "GAME_CD (" + t.file("cd") + ")", VolumeKind::Optical},
        {t.file("data"), t.file("data"), VolumeKind::Fixed},
        {t.file("nas"), t.file("nas"), VolumeKind::Network},
        {t.file("usb"), "STICK (" + t.file("usb") + ")", VolumeKind::Fixed},
    };
    EXPECT_EQ(drives, expected);
}

TEST(DriveList, MediaMountsAreRemovableAndAHomeAtTheRootIsNotRepeated) {
    const auto drives = DriveList({{"/media", "vfat", "", true}}, "/");
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].dir, "");
    EXPECT_EQ(drives[1].kind, VolumeKind::Removable);
}

TEST(DriveOf, PicksTheClosestVolumeOfAFolder) {
    const std::vector<DriveEntry> drives{
        {"", "/", VolumeKind::Root},
        {"/home/u", "Home (/home/u)", VolumeKind::Home},
        {"/home/u/games", "games", VolumeKind::Fixed},
        {"/home/user2", "x", VolumeKind::Fixed},
    };
    EXPECT_EQ(DriveOf(drives, "/home/u/games/orn"), 2u);
    EXPECT_EQ(DriveOf(drives, "/home/u/docs"), 1u);
    EXPECT_EQ(DriveOf(drives, "/home/u"), 1u);
    EXPECT_EQ(DriveOf(drives, "/home/u2"), 0u);
    EXPECT_EQ(DriveOf(drives, "/"), 0u);
}

}  // namespace
}  // namespace vxa::test
