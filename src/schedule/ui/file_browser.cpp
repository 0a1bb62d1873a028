#include "schedule/ui/file_browser.h"

#include "core/ui/action_guard.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QListWidget>
#include <QTreeWidget>

namespace hinagiku::schedule {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

QTreeWidgetItem* folderItem(const QString& path, const QString& text) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kPathRole, path);
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

QString joined(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

}  // namespace

FileBrowser::FileBrowser(QWidget* owner, std::vector<Drive> drives)
    : QObject(owner),
      drives_(std::move(drives)),
      driveBox_(new QComboBox(owner)),
      folderTree_(new QTreeWidget(owner)),
      fileList_(new QListWidget(owner)) {
    if (drives_.empty())
        drives_.push_back({QStringLiteral("/"), QStringLiteral("/")});
    for (const Drive& drive : drives_)
        driveBox_->addItem(drive.label, drive.path);
    folderTree_->setHeaderHidden(true);
    folderTree_->setColumnCount(1);
    folderTree_->header()->setStretchLastSection(true);

    connect(driveBox_, &QComboBox::activated, this,
            core::guard([this](int index) { showDrive(index, true); }));
    connect(folderTree_, &QTreeWidget::itemExpanded, this,
            core::guard(this, &FileBrowser::fillFolder));
    connect(folderTree_, &QTreeWidget::currentItemChanged, this,
            core::guard([this](QTreeWidgetItem* current) {
                if (!quiet_ && current != nullptr)
                    folderChosen(current);
            }));
    connect(fileList_, &QListWidget::currentItemChanged, this, core::guard([this] {
                if (!quiet_)
                    emit selectionChanged();
            }));
    connect(fileList_, &QListWidget::itemActivated, this,
            core::guard([this](QListWidgetItem*) { emit fileActivated(selectedFile()); }));
}

void FileBrowser::setNameFilters(const QStringList& filters) {
    filters_ = filters;
    fillFiles();
}

void FileBrowser::showDrive(int index, bool selectRoot) {
    if (index < 0 || index >= static_cast<int>(drives_.size()))
        return;
    quiet_ = true;
    driveBox_->setCurrentIndex(index);
    folderTree_->clear();
    const Drive& drive = drives_[static_cast<std::size_t>(index)];
    QTreeWidgetItem* root = folderItem(drive.path, drive.path);
    folderTree_->addTopLevelItem(root);
    root->setExpanded(true);  // fills it through itemExpanded
    quiet_ = false;
    if (selectRoot)
        folderTree_->setCurrentItem(root);
}

void FileBrowser::fillFolder(QTreeWidgetItem* item) {
    if (item->data(0, kFilledRole).toBool())
        return;
    item->setData(0, kFilledRole, true);
    const QString path = item->data(0, kPathRole).toString();
    const QFileInfoList folders =
        QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& info : folders) {
        item->addChild(folderItem(joined(path, info.fileName()), info.fileName()));
    }
    if (folders.isEmpty()) {
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    }
}

void FileBrowser::folderChosen(QTreeWidgetItem* item) {
    currentFolder_ = item->data(0, kPathRole).toString();
    fillFiles();
}

void FileBrowser::setCurrentFolder(const QString& folderText) {
    const QString folder = QDir::cleanPath(QFileInfo(folderText).absoluteFilePath());
    const int driveIndex = driveIndexFor(drives_, folder);
    showDrive(driveIndex, false);
    QTreeWidgetItem* item = folderTree_->topLevelItem(0);
    const QString root = drives_[static_cast<std::size_t>(driveIndex)].path;
    const QString rest = folder.mid(root.size());
    quiet_ = true;
    for (const QString& name : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        item->setExpanded(true);
        fillFolder(item);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && next == nullptr; ++i) {
            if (item->child(i)->text(0) == name)
                next = item->child(i);
        }
        if (next == nullptr) {
            // A hidden folder is not listed, but can still be opened.
            next = folderItem(joined(item->data(0, kPathRole).toString(), name), name);
            item->addChild(next);
        }
        item = next;
    }
    quiet_ = false;
    folderTree_->setCurrentItem(item);
    folderTree_->scrollToItem(item);
    if (currentFolder_ != item->data(0, kPathRole).toString())
        folderChosen(item);
}

void FileBrowser::setSelectedFile(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty()) {
        setCurrentFolder(QDir::homePath());
        return;
    }
    const QString folder = info.absolutePath();
    setCurrentFolder(QFileInfo(folder).isDir() ? folder : QDir::homePath());
    if (!info.isFile())
        return;
    const auto found = fileList_->findItems(info.fileName(), Qt::MatchExactly);
    if (!found.isEmpty())
        fileList_->setCurrentItem(found.front());
}

QString FileBrowser::selectedFile() const {
    const QListWidgetItem* item = fileList_->currentItem();
    if (item == nullptr || currentFolder_.isEmpty())
        return {};
    return joined(currentFolder_, item->text());
}

void FileBrowser::fillFiles() {
    quiet_ = true;
    fileList_->clear();
    if (!currentFolder_.isEmpty()) {
        const QStringList names =
            QDir(currentFolder_).entryList(filters_, QDir::Files, QDir::Name | QDir::IgnoreCase);
        fileList_->addItems(names);
    }
    fileList_->setCurrentItem(nullptr);
    quiet_ = false;
    emit selectionChanged();
}

}  // namespace hinagiku::schedule
