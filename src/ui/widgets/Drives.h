#pragma once

#include <QString>
#include <vector>

namespace vxa {

// The kinds of volume the drive selector tells apart, each with its picture.
enum class DriveKind { Root, Home, Fixed, Removable, Network, Optical, Ram };

// One entry of the drive selector.
struct Drive {
    QString root;   // directory string handed to the browser: no trailing "/", "" for "/"
    QString label;  // what the selector shows
    DriveKind kind = DriveKind::Fixed;
};

// The picture of a kind, in the program's resources.
QString DrivePicture(DriveKind kind);

// Whether a mounted filesystem is one a user browses: real and network
// filesystems, not the kernel's and container's bookkeeping mounts.
bool IsUserVolume(const QString& fsType, const QString& mountPath);
DriveKind KindOf(const QString& fsType, const QString& mountPath, const QString& device);

// The root, the home folder and the user's mounted volumes, without
// duplicates, in that order (mounts sorted by path).
std::vector<Drive> ListDrives();

// The entry whose root holds `dir` most closely (the longest matching root),
// -1 when none does.
int DriveHolding(const std::vector<Drive>& drives, const QString& dir);

}  // namespace vxa
