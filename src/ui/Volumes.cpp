#include "Volumes.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "BrowserListing.h"

namespace vxa {

namespace {

// Filesystems that hold no user files: kernel interfaces, memory, images
// that packages mount (snaps) and the layers of containers.
constexpr std::array<std::string_view, 32> kPseudoTypes{
    "autofs",      "binfmt_misc",   "bpf",        "cgroup",
    "cgroup2",     "configfs",      "debugfs",    "devpts",
    "devtmpfs",    "efivarfs",      "fusectl",    "hugetlbfs",
    "mqueue",      "nsfs",          "overlay",    "proc",
    "pstore",      "ramfs",         "rpc_pipefs", "securityfs",
    "selinuxfs",   "squashfs",      "sysfs",      "tmpfs",
    "tracefs",     "nfsd",          "none",       "fuse.gvfsd-fuse",
    "fuse.portal", "fuse.snapfuse", "fuse.lxcfs", "aufs"};

// Mount points below these belong to the system, not to the user.
constexpr std::array<std::string_view, 9> kSystemRoots{
    "/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var/lib", "/var/snap", "/efi"};

constexpr std::array<std::string_view, 12> kNetworkTypes{
    "nfs", "nfs4", "cifs", "smb3",      "smbfs", "ncpfs",
    "9p",  "afs",  "ceph", "glusterfs", "davfs", "fuse.sshfs"};

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& list, std::string_view s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

// True when `dir` is `root` or lies inside it.
bool Inside(std::string_view dir, std::string_view root) {
    return dir.starts_with(root) && (dir.size() == root.size() || dir[root.size()] == '/');
}

bool IsSystemMount(std::string_view dir) {
    // Removable media appear under /run/media on some desktops.
    if (Inside(dir, "/run/media"))
        return false;
    return std::any_of(kSystemRoots.begin(), kSystemRoots.end(),
                       [dir](std::string_view root) { return Inside(dir, root); });
}

VolumeKind KindOf(const MountedVolume& v, std::string_view dir) {
    if (OneOf(kNetworkTypes, v.fsType) || v.fsType.starts_with("fuse.sshfs")) {
        return VolumeKind::Network;
    }
    if (v.fsType == "iso9660" || v.fsType == "udf")
        return VolumeKind::Optical;
    if (Inside(dir, "/media") || Inside(dir, "/run/media") || Inside(dir, "/mnt")) {
        return VolumeKind::Removable;
    }
    return VolumeKind::Fixed;
}

bool IsFolder(const std::string& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(dir.empty() ? "/" : dir, ec);
}

}  // namespace

std::vector<DriveEntry> DriveList(const std::vector<MountedVolume>& mounts,
                                  const std::string& home) {
    std::vector<DriveEntry> drives{{"", "/", VolumeKind::Root}};
    const std::string homeDir = BrowserDirOf(home);
    if (!homeDir.empty() && IsFolder(homeDir)) {
        drives.push_back({homeDir, "Home (" + homeDir + ")", VolumeKind::Home});
    }
    std::vector<DriveEntry> others;
    for (const MountedVolume& v : mounts) {
        const std::string dir = BrowserDirOf(v.rootPath);
        if (!v.ready || dir.empty() || dir == homeDir)
            continue;
        if (OneOf(kPseudoTypes, v.fsType) || IsSystemMount(dir))
            continue;
        // Containers mount single files (/etc/hosts) as volumes of their own.
        if (!IsFolder(dir))
            continue;
        const bool seen = std::any_of(others.begin(), others.end(),
                                      [&dir](const DriveEntry& d) { return d.dir == dir; });
        if (seen)
            continue;
        std::string label = v.name.empty() ? dir : v.name + " (" + dir + ")";
        others.push_back({dir, std::move(label), KindOf(v, dir)});
    }
    std::sort(others.begin(), others.end(),
              [](const DriveEntry& a, const DriveEntry& b) { return a.dir < b.dir; });
    drives.insert(drives.end(), others.begin(), others.end());
    return drives;
}

std::size_t DriveOf(const std::vector<DriveEntry>& drives, const std::string& dir) {
    const std::string where = BrowserDirOf(dir);
    std::size_t best = 0;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const std::string& root = drives[i].dir;
        if (root.empty() || !Inside(where, root))
            continue;
        if (best == 0 || root.size() > drives[best].dir.size())
            best = i;
    }
    return best;
}

}  // namespace vxa
