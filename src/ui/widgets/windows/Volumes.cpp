// Windows's drives are its drive letters. Qt lists them and names their
// volumes; the kind of drive and a network drive's share come from the
// system, which Qt does not ask.
#include <windows.h>
#include <winnetwk.h>

#include <QDir>
#include <QStorageInfo>
#include <algorithm>

#include "ui/widgets/Drives.h"

namespace vxa {

namespace {

const wchar_t* Wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// `root` is "C:\".
DriveKind KindOfDrive(const QString& root) {
    switch (GetDriveTypeW(Wide(root))) {
        case DRIVE_REMOVABLE:
            return DriveKind::Removable;
        case DRIVE_REMOTE:
            return DriveKind::Network;
        case DRIVE_CDROM:
            return DriveKind::Optical;
        case DRIVE_RAMDISK:
            return DriveKind::Ram;
        default:
            return DriveKind::Fixed;
    }
}

// The share a network drive stands for ("\\server\share"), "" when the
// system does not say. `letter` is "c:".
QString ShareOf(const QString& letter) {
    wchar_t share[MAX_PATH];
    DWORD size = MAX_PATH;
    if (WNetGetConnectionW(Wide(letter), share, &size) != NO_ERROR)
        return {};
    return QString::fromWCharArray(share);
}

}  // namespace

std::vector<Drive> ListDrives() {
    std::vector<Drive> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = QDir::toNativeSeparators(volume.rootPath());
        // Drive letters only: a volume mounted in a folder is browsed there.
        if (root.size() != 3 || !root[0].isLetter() || root[1] != u':')
            continue;
        const QString letter = root.left(2).toLower();
        const DriveKind kind = KindOfDrive(root);
        QString name = volume.name();
        if (name.isEmpty() && kind == DriveKind::Network)
            name = ShareOf(letter);
        const QString label = name.isEmpty() ? letter : letter + QStringLiteral(" [") + name + ']';
        drives.push_back({letter, label, kind});
    }
    std::sort(drives.begin(), drives.end(),
              [](const Drive& a, const Drive& b) { return a.Root < b.Root; });
    return drives;
}

}  // namespace vxa
