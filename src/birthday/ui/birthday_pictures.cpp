#include "birthday/ui/birthday_pictures.h"

#include <QDir>
#include <QString>

namespace hinagiku::birthday {

QPixmap birthdayPicture(std::string_view name) {
    const QString wanted = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    const QDir folder(QStringLiteral(":/pictures/birthday"));
    for (const QString& file : folder.entryList(QDir::Files)) {
        if (file.section(QLatin1Char('.'), 0, 0).compare(wanted, Qt::CaseInsensitive) == 0)
            return QPixmap(folder.filePath(file));
    }
    return {};
}

}  // namespace hinagiku::birthday
