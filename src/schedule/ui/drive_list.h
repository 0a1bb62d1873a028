#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace hinagiku::schedule {

// The "drives" the file choosers offer on this system: the root folder, the
// home folder and removable media mounted under /media/$USER,
// /run/media/$USER or /mnt.
struct Drive {
    QString path;   // a folder without a trailing "/" (except "/")
    QString label;  // what the drive box shows
    bool operator==(const Drive&) const = default;
};

// The drives of a system with the given home folder, user name and mounted
// file systems: "/" first, then the home folder, then the removable media in
// path order. Every other mount point is reached through "/".
std::vector<Drive> listDrives(const QString& home, const QString& user,
                              const QStringList& mountPoints);

// The drives of this system, from the environment and the mount table.
std::vector<Drive> systemDrives();

// Index of the drive that holds `folder` (the one with the longest path
// that contains it); 0 ("/") when none else does.
int driveIndexFor(const std::vector<Drive>& drives, const QString& folder);

}  // namespace hinagiku::schedule
