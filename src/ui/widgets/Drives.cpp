#include "ui/widgets/Drives.h"

#include <QChar>
#include <QLatin1String>
#include <QString>

#include "core/io/DirStyle.h"

namespace vxa {

QString DrivePicture(DriveKind kind) {
    // In the order of DriveKind.
    static constexpr const char* kNames[] = {"root",    "home",    "fixed", "removable",
                                             "network", "optical", "ram"};
    return QStringLiteral(":/vxa/drives/%1.png").arg(QLatin1String(kNames[static_cast<int>(kind)]));
}

int DriveHolding(const std::vector<Drive>& drives, const QString& dir) {
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < static_cast<int>(drives.size()); ++i) {
        const QString& root = drives[i].Root;
        const bool holds = root.isEmpty() || dir == root ||
                           dir.startsWith(root + QChar::fromLatin1(DirSeparator()));
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

}  // namespace vxa
