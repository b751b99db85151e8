#pragma once

#include <QString>

#include "ui/widgets/Drives.h"

namespace vxa {

// Linux's drives are its mounts: which of them the selector lists, and as
// what.

// Whether a mounted filesystem is one a user browses: real and network
// filesystems, not the kernel's and container's bookkeeping mounts.
bool IsUserVolume(const QString& fsType, const QString& mountPath);
DriveKind KindOf(const QString& fsType, const QString& mountPath, const QString& device);

}  // namespace vxa
