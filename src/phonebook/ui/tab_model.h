#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include "phonebook/tab_grid.h"

namespace hinagiku::phonebook {

// One tab's cells under the grid view. Cells keep their bytes: only a cell
// the user changes is encoded anew, and an edit that would not survive the
// file (a character CP932 lacks, a row over 4095 bytes) is refused.
class TabModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TabModel(QObject* parent = nullptr);

    void setGrid(const TabGrid& grid);
    const TabGrid& grid() const { return grid_; }
    void setTitles(const QStringList& titles);
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool readOnly() const { return readOnly_; }
    bool dirty() const { return dirty_; }
    void setDirty(bool dirty) { dirty_ = dirty; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  signals:
    // An edit was refused; the text says why.
    void editRefused(const QString& message);

  private:
    TabGrid grid_;
    QStringList titles_;
    bool readOnly_ = false;
    bool dirty_ = false;
};

}  // namespace hinagiku::phonebook
