#pragma once

#include <QString>
#include <vector>

namespace vxa {

// The kinds of volume the drive selector tells apart, each with its picture.
enum class DriveKind { Root, Home, Fixed, Removable, Network, Optical, Ram };

// One entry of the drive selector.
struct Drive {
    // The directory string handed to the browser, without a trailing
    // separator: "" for "/", "c:" for drive C on Windows.
    QString Root;
    QString Label;  // what the selector shows
    DriveKind Kind = DriveKind::Fixed;
};

// The picture of a kind, in the program's resources.
QString DrivePicture(DriveKind kind);

// The machine's drives, each platform's own way (linux/Volumes.cpp and
// windows/Volumes.cpp beside this file). Linux: the root, the home folder
// and the user's mounted volumes, without duplicates, in that order (mounts
// sorted by path). Windows: the drive letters with their volume or network
// names.
std::vector<Drive> ListDrives();

// The entry whose root holds `dir` most closely (the longest matching root),
// -1 when none does.
int DriveHolding(const std::vector<Drive>& drives, const QString& dir);

}  // namespace vxa
