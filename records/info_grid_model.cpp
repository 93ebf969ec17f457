#include "records/info_grid_model.h"

#include <algorithm>

namespace lexorant {

namespace {

// A block numbers its entries with 16 bits; more columns than that can only come from a caller's
// mistake, which must not turn into an allocation of gigabytes.
constexpr int kMaxColCount = 65535 + 1;

} // namespace

InfoGridModel::InfoGridModel(std::size_t slotSize, QObject* parent)
    : QAbstractTableModel(parent), slotSize_(slotSize) {
    ResizeColumns(colCount_);
}

QString InfoGridModel::Cell(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) {
        return {};
    }
    if (layout_ == nullptr) {
        return {};
    }
    if (col == 0) {
        return QString::fromUtf8(layout_->Heading(row));
    }
    const std::uint8_t* slot = ShownSlot(col - 1);
    return slot ? QString::fromStdString(CellText(*layout_, slot, col, row, separatorText_)) : QString();
}

const std::uint8_t* InfoGridModel::ShownSlot(int entry) const {
    if (entry < 0 || entry >= colCount_ - 1 || !written_[static_cast<std::size_t>(entry)]) {
        return nullptr;
    }
    return slots_.data() + static_cast<std::size_t>(entry) * slotSize_;
}

void InfoGridModel::ResizeColumns(int count) {
    colCount_ = count;
    const auto entries = static_cast<std::size_t>(count - 1);
    slots_.resize(entries * slotSize_, 0);
    written_.resize(entries, 0);
}

void InfoGridModel::SetColCount(int count) {
    count = std::clamp(count, 1, kMaxColCount);
    if (count > colCount_) {
        beginInsertColumns(QModelIndex(), colCount_ - 1, count - 2);
        ResizeColumns(count);
        endInsertColumns();
    } else if (count < colCount_) {
        beginRemoveColumns(QModelIndex(), count - 1, colCount_ - 2);
        ResizeColumns(count);
        endRemoveColumns();
    }
}

void InfoGridModel::SetRowCount(int count) {
    count = std::max(count, 1);
    if (count > rowCount_) {
        beginInsertRows(QModelIndex(), rowCount_ - 1, count - 2);
        rowCount_ = count;
        endInsertRows();
    } else if (count < rowCount_) {
        beginRemoveRows(QModelIndex(), count - 1, rowCount_ - 2);
        rowCount_ = count;
        endRemoveRows();
    }
}

void InfoGridModel::SetDecimalSeparator(QChar separator) {
    if (separator == decimalSeparator_) {
        return;
    }
    decimalSeparator_ = separator;
    separatorText_ = QString(separator).toStdString();
    if (rowCount() > 0 && columnCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
    }
}

void InfoGridModel::Rebuild(const EntryLayout& layout, int rowCount, const std::uint8_t* entrySlots,
                            std::size_t count) {
    beginResetModel();
    // Nothing of an earlier read survives: dropping every entry column clears its cells.
    slots_.clear();
    written_.clear();
    ResizeColumns(2);
    layout_ = &layout;
    if (rowCount > 0) {
        rowCount_ = rowCount;
    }
    if (count > 0) {
        ResizeColumns(static_cast<int>(count) + 1);
        std::copy_n(entrySlots, count * slotSize_, slots_.begin());
        std::fill(written_.begin(), written_.end(), std::uint8_t{1});
    }
    endResetModel();
}

void InfoGridModel::WriteEntry(int index, const std::uint8_t* slot) {
    if (index < 0 || index > kMaxColCount - 2) {
        return;
    }
    SetColCount(index + 2);
    const auto entry = static_cast<std::size_t>(index);
    std::copy_n(slot, slotSize_, slots_.begin() + static_cast<std::ptrdiff_t>(entry * slotSize_));
    written_[entry] = 1;
    if (rowCount() > 0) {
        emit dataChanged(this->index(0, index), this->index(rowCount() - 1, index), {Qt::DisplayRole});
    }
    emit headerDataChanged(Qt::Horizontal, index, index);
}

int InfoGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_ - 1;
}

int InfoGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : colCount_ - 1;
}

QVariant InfoGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    return Cell(index.column() + 1, index.row() + 1);
}

void InfoGridModel::SetHeadingDecoration(HeadingDecoration decoration) {
    decoration_ = std::move(decoration);
    if (colCount_ > 1)
        HeadingsChanged(0, colCount_ - 2);
}

void InfoGridModel::HeadingsChanged(int first, int last) {
    last = std::min(last, colCount_ - 2);
    if (first <= last)
        emit headerDataChanged(Qt::Horizontal, first, last);
}

QVariant InfoGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        if (orientation == Qt::Horizontal && decoration_)
            return decoration_(section, role);
        return {};
    }
    return orientation == Qt::Horizontal ? Cell(section + 1, 0) : Cell(0, section + 1);
}

Qt::ItemFlags InfoGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace lexorant
