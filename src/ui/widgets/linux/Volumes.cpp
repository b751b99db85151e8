#include "Volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <algorithm>

namespace vxa {

namespace {

bool Under(const QString& path, const QString& dir) {
    return path == dir || path.startsWith(dir + QLatin1Char('/'));
}

bool UnderAny(const QString& path, std::initializer_list<const char*> dirs) {
    return std::any_of(dirs.begin(), dirs.end(),
                       [&](const char* d) { return Under(path, QString::fromLatin1(d)); });
}

// Where users mount what they bring along.
bool InUserMountArea(const QString& path) {
    return UnderAny(path, {"/media", "/run/media", "/mnt"});
}

const QSet<QString>& NetworkTypes() {
    static const QSet<QString> types = {
        "nfs", "nfs4", "cifs",           "smb3",        "smbfs", "fuse.sshfs", "sshfs",
        "afs", "ceph", "fuse.glusterfs", "fuse.davfs2", "davfs", "9p",         "fuse.rclone"};
    return types;
}

// Bookkeeping filesystems of the kernel, containers and desktops.
const QSet<QString>& NoiseTypes() {
    static const QSet<QString> types = {
        "proc",        "sysfs",           "devtmpfs",   "devpts",        "cgroup",    "cgroup2",
        "overlay",     "squashfs",        "securityfs", "pstore",        "bpf",       "tracefs",
        "debugfs",     "configfs",        "fusectl",    "mqueue",        "hugetlbfs", "autofs",
        "binfmt_misc", "efivarfs",        "nsfs",       "rpc_pipefs",    "selinuxfs", "nfsd",
        "fuse.portal", "fuse.gvfsd-fuse", "fuse.lxcfs", "fuse.snapfuse", "ramfs",     "tmpfs"};
    return types;
}

QString WithoutTrailingSlash(QString path) {
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

}  // namespace

bool IsUserVolume(const QString& fsType, const QString& mountPath) {
    if (mountPath.isEmpty() || mountPath == QLatin1String("/"))
        return false;
    if (UnderAny(mountPath, {"/proc", "/sys", "/dev", "/snap", "/var/lib/docker", "/var/snap"})) {
        return false;
    }
    if (Under(mountPath, QStringLiteral("/run")) &&
        !Under(mountPath, QStringLiteral("/run/media"))) {
        return false;
    }
    // A RAM disk the user mounted on purpose is a drive; /dev/shm and the
    // like are not.
    if (fsType == QLatin1String("tmpfs") || fsType == QLatin1String("ramfs")) {
        return InUserMountArea(mountPath);
    }
    return !NoiseTypes().contains(fsType);
}

DriveKind KindOf(const QString& fsType, const QString& mountPath, const QString& device) {
    if (NetworkTypes().contains(fsType) || device.startsWith(QLatin1String("//"))) {
        return DriveKind::Network;
    }
    if (fsType == QLatin1String("iso9660") || fsType == QLatin1String("udf") ||
        device.startsWith(QLatin1String("/dev/sr"))) {
        return DriveKind::Optical;
    }
    if (fsType == QLatin1String("tmpfs") || fsType == QLatin1String("ramfs"))
        return DriveKind::Ram;
    if (UnderAny(mountPath, {"/media", "/run/media"}))
        return DriveKind::Removable;
    return DriveKind::Fixed;
}

std::vector<Drive> ListDrives() {
    std::vector<Drive> drives;
    drives.push_back({QString(), QStringLiteral("/"), DriveKind::Root});
    const QString home = WithoutTrailingSlash(QDir::homePath());
    if (!home.isEmpty())
        drives.push_back({home, home + QStringLiteral(" [Home]"), DriveKind::Home});

    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(), [](const QStorageInfo& a, const QStorageInfo& b) {
        return a.rootPath() < b.rootPath();
    });
    for (const QStorageInfo& v : volumes) {
        const QString path = WithoutTrailingSlash(v.rootPath());
        const QString type = QString::fromLatin1(v.fileSystemType());
        if (!v.isValid() || !IsUserVolume(type, path))
            continue;
        // Containers bind single files (/etc/hosts); only folders are drives.
        if (!QFileInfo(path).isDir())
            continue;
        if (std::any_of(drives.begin(), drives.end(),
                        [&](const Drive& d) { return d.Root == path; })) {
            continue;
        }
        const QString name = v.name();
        const QString label = name.isEmpty() ? path : path + QStringLiteral(" [") + name + ']';
        drives.push_back({path, label, KindOf(type, path, QString::fromLocal8Bit(v.device()))});
    }
    return drives;
}

}  // namespace vxa
