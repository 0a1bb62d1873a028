#include "tools/ui/program_chooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>

#include "core/ui/action_guard.h"

namespace hinagiku::tools {
namespace {

// Keeps folders, executables and desktop entries (and links) while the
// program filter is chosen.
class ProgramFilter final : public QSortFilterProxyModel {
  public:
    explicit ProgramFilter(bool withLinks, QObject* parent)
        : QSortFilterProxyModel(parent), withLinks_(withLinks) {}
    void setActive(bool active) {
        active_ = active;
        invalidateFilter();
    }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (!active_)
            return true;
        const auto* model = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (model == nullptr)
            return true;
        const QFileInfo info = model->fileInfo(model->index(row, 0, parent));
        if (info.isDir())
            return true;
        const QString suffix = info.suffix().toLower();
        if (suffix == QLatin1String("desktop") || (withLinks_ && suffix == QLatin1String("lnk")))
            return true;
        return info.isExecutable();
    }

  private:
    bool withLinks_;
    bool active_ = true;
};

}  // namespace

QString chooseProgramFile(QWidget* parent, const QString& current, bool withLinks) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QString programs = QStringLiteral("実行ﾌｧｲﾙ (*)");
    const QString all = QStringLiteral("全てのﾌｧｲﾙ (*)");
    dialog.setNameFilters({programs, all});
    auto* filter = new ProgramFilter(withLinks, &dialog);
    dialog.setProxyModel(filter);
    QObject::connect(&dialog, &QFileDialog::filterSelected, filter,
                     core::guard([filter, programs](const QString& chosen) {
                         filter->setActive(chosen == programs);
                     }));
    const QFileInfo start(current);
    if (!current.isEmpty() && start.exists()) {
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.absoluteFilePath());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace hinagiku::tools
