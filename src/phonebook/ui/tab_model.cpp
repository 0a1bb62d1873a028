#include "phonebook/ui/tab_model.h"

#include "phonebook/cell_text.h"

namespace hinagiku::phonebook {

TabModel::TabModel(QObject* parent) : QAbstractTableModel(parent) {}

void TabModel::setGrid(const TabGrid& grid) {
    beginResetModel();
    grid_ = grid;
    dirty_ = false;
    endResetModel();
}

void TabModel::setTitles(const QStringList& titles) {
    titles_ = titles;
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

int TabModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kRowCount;
}

int TabModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TabModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return QString::fromStdString(displayCell(grid_.rows[index.row()][index.column()]));
}

bool TabModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || readOnly_)
        return false;
    const QString text = value.toString();
    std::string& cell = grid_.rows[index.row()][index.column()];
    if (text == QString::fromStdString(displayCell(cell)))
        return true;  // unchanged: the bytes stay as they are
    const auto bytes = encodeTypedCell(text.toStdString());
    if (!bytes) {
        emit editRefused(QStringLiteral("電話帳に保存できない文字が含まれています。"));
        return false;
    }
    Row row = grid_.rows[index.row()];
    row[index.column()] = *bytes;
    if (!rowFits(row)) {
        emit editRefused(QStringLiteral("1行が4095バイトを超えるため保存できません。"));
        return false;
    }
    if (!rowReadsBack(row)) {
        emit editRefused(QStringLiteral("電話帳に保存できない文字が含まれています。"));
        return false;
    }
    cell = *bytes;
    dirty_ = true;
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags TabModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!readOnly_)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant TabModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < titles_.size() ? titles_[section] : QVariant();
    return section + 1;
}

}  // namespace hinagiku::phonebook
