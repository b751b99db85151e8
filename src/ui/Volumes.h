#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vxa {

// What the drive selector's picture shows for a volume.
enum class VolumeKind { Root, Home, Fixed, Removable, Network, Optical };

// One mounted filesystem as the platform reports it.
struct MountedVolume {
    std::string rootPath;  // the mount point; "/" for the root
    std::string fsType;    // "ext4", "nfs4", "fuse.sshfs", ...
    std::string name;      // the volume's label; may be empty
    bool ready = true;
};

// One line of the drive selector.
struct DriveEntry {
    std::string dir;  // what DriveComboBox1Change gets; "" for the root
    std::string label;
    VolumeKind kind = VolumeKind::Fixed;
    bool operator==(const DriveEntry&) const = default;
};

// The volumes a user cares about: the root, the home folder (when it is a
// folder other than the root), then every ready, mounted real filesystem,
// removable and network ones included, ordered by mount point. Kernel and
// memory filesystems, snap images, container layers and system mounts
// (/proc, /sys, /dev, /run, /boot, ...) are left out, and so are mounts of
// single files and second mounts of one folder.
std::vector<DriveEntry> DriveList(const std::vector<MountedVolume>& mounts,
                                  const std::string& home);

// Index of the entry whose folder holds `dir` most closely (the root's, 0,
// when no other does): the selector shows it at start.
std::size_t DriveOf(const std::vector<DriveEntry>& drives, const std::string& dir);

}  // namespace vxa
