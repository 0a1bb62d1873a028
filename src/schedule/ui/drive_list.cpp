#include "schedule/ui/drive_list.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace hinagiku::schedule {
namespace {

QString withoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

bool contains(const QString& drive, const QString& folder) {
    if (drive == QLatin1String("/"))
        return folder.startsWith(QLatin1Char('/'));
    return folder == drive || folder.startsWith(drive + QLatin1Char('/'));
}

}  // namespace

std::vector<Drive> listDrives(const QString& home, const QString& user,
                              const QStringList& mountPoints) {
    std::vector<Drive> drives{{QStringLiteral("/"), QStringLiteral("/")}};
    const QString homePath = withoutTrailingSlash(home);
    if (!homePath.isEmpty() && homePath != QLatin1String("/")) {
        drives.push_back({homePath, QStringLiteral("ホーム (%1)").arg(homePath)});
    }
    QStringList prefixes{QStringLiteral("/mnt/")};
    if (!user.isEmpty()) {
        prefixes << QStringLiteral("/media/%1/").arg(user)
                 << QStringLiteral("/run/media/%1/").arg(user);
    }
    QStringList media;
    for (const QString& raw : mountPoints) {
        const QString point = withoutTrailingSlash(raw);
        const bool removable =
            point == QLatin1String("/mnt") ||
            std::any_of(prefixes.begin(), prefixes.end(),
                        [&](const QString& prefix) { return point.startsWith(prefix); });
        if (removable && point != homePath && !media.contains(point))
            media << point;
    }
    media.sort();
    for (const QString& point : media)
        drives.push_back({point, point});
    return drives;
}

std::vector<Drive> systemDrives() {
    QStringList points;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            points << volume.rootPath();
    }
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    return listDrives(QDir::homePath(), user, points);
}

int driveIndexFor(const std::vector<Drive>& drives, const QString& folder) {
    int best = 0;
    qsizetype bestLength = -1;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        if (contains(drives[i].path, folder) && drives[i].path.size() > bestLength) {
            best = static_cast<int>(i);
            bestLength = drives[i].path.size();
        }
    }
    return best;
}

}  // namespace hinagiku::schedule
