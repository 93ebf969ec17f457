#include "app/message_overview_model.h"

#include <QBrush>
#include <QColor>

#include <array>

namespace lexorant {

namespace {

const std::array<QString, MessageOverviewModel::kColumns> kHeadings = {
    QStringLiteral("Code"),  QStringLiteral("Kind"), QStringLiteral("G-Info"),       QStringLiteral("X-Info"),
    QStringLiteral("First"), QStringLiteral("Last"), QStringLiteral("Message text"), QStringLiteral("New")};

// Faults are marked by a symbol as well as by colour, for readers who cannot tell the colour.
const QString kFaultMark = QStringLiteral("\u26A0 ");

QString KindText(MessageKind kind) {
    const std::string_view name = KindName(kind);
    const QString text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    return kind == MessageKind::Fault ? kFaultMark + text : text;
}

QString TextOf(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Undated first/last sort before every date.
qint64 StampKey(const std::optional<DatedStamp>& stamp) {
    return stamp ? stamp->ms : INT64_MIN;
}

} // namespace

void MessageOverviewModel::Clear() {
    beginResetModel();
    overview_.Clear();
    shownRows_ = 0;
    changedFirst_ = changedLast_ = -1;
    endResetModel();
}

void MessageOverviewModel::Add(const RecordStore& store, EntryRef entry) {
    const int row = static_cast<int>(overview_.Add(store, entry));
    if (row >= shownRows_)
        return;
    changedFirst_ = changedFirst_ < 0 ? row : std::min(changedFirst_, row);
    changedLast_ = std::max(changedLast_, row);
}

void MessageOverviewModel::Publish() {
    if (changedFirst_ >= 0)
        emit dataChanged(index(changedFirst_, 0), index(changedLast_, kColumns - 1));
    changedFirst_ = changedLast_ = -1;
    const int rows = static_cast<int>(overview_.Rows().size());
    if (rows > shownRows_) {
        beginInsertRows(QModelIndex(), shownRows_, rows - 1);
        shownRows_ = rows;
        endInsertRows();
    }
}

void MessageOverviewModel::SetNewCounts(NewCounts newCounts) {
    newCounts_ = std::move(newCounts);
    if (shownRows_ > 0)
        emit dataChanged(index(0, NewColumn), index(shownRows_ - 1, NewColumn));
}

int MessageOverviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}
int MessageOverviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant MessageOverviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= shownRows_)
        return {};
    const MessageRow& row = overview_.Rows()[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    if (role == Qt::DisplayRole) {
        switch (column) {
        case CodeColumn:
            return QString::number(row.code);
        case KindColumn:
            return KindText(row.kind);
        case GInfoColumn:
            return QString::number(row.gInfo);
        case XInfoColumn:
            return QString::number(row.xInfo);
        case FirstColumn:
            return QString::fromStdString(StampText(row.first));
        case LastColumn:
            return QString::fromStdString(StampText(row.last));
        case TextColumn:
            return TextOf(row.text);
        case NewColumn:
            return newCounts_ ? QVariant(QString::number(newCounts_(row.code))) : QVariant();
        default:
            return {};
        }
    }
    if (role == SortRole) {
        switch (column) {
        case CodeColumn:
            return int{row.code};
        case KindColumn:
            return static_cast<int>(row.kind);
        case GInfoColumn:
            return row.gInfo;
        case XInfoColumn:
            return row.xInfo;
        case FirstColumn:
            return StampKey(row.first);
        case LastColumn:
            return StampKey(row.last);
        case NewColumn:
            return newCounts_ ? static_cast<qulonglong>(newCounts_(row.code)) : qulonglong{0};
        default:
            return data(index, Qt::DisplayRole);
        }
    }
    if (role == Qt::ForegroundRole && row.kind == MessageKind::Fault)
        return QBrush(QColor(0xB0, 0x00, 0x00));
    if (role == Qt::TextAlignmentRole && column != KindColumn && column != TextColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant MessageOverviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumns)
        return kHeadings[static_cast<std::size_t>(section)];
    return QAbstractTableModel::headerData(section, orientation, role);
}

MessageFilterModel::MessageFilterModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(MessageOverviewModel::SortRole);
    setDynamicSortFilter(true);
}

void MessageFilterModel::SetFilterText(const QString& text) {
    filter_ = text.trimmed();
    invalidateFilter();
}

void MessageFilterModel::SortByFrequency() {
    byFrequency_ = true;
    QSortFilterProxyModel::sort(MessageOverviewModel::CodeColumn, Qt::AscendingOrder);
}

void MessageFilterModel::sort(int column, Qt::SortOrder order) {
    const bool wasByFrequency = byFrequency_;
    byFrequency_ = false;
    QSortFilterProxyModel::sort(column, order);
    // The base class does nothing for the column and order it already sorts by.
    if (wasByFrequency)
        invalidate();
}

void MessageFilterModel::SetNewOnly(bool on) {
    newOnly_ = on;
    invalidateFilter();
}

bool MessageFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const QAbstractItemModel* source = sourceModel();
    if (newOnly_ && source->index(sourceRow, MessageOverviewModel::NewColumn, sourceParent)
                            .data(MessageOverviewModel::SortRole)
                            .toULongLong() == 0)
        return false;
    if (filter_.isEmpty())
        return true;
    for (int column : {MessageOverviewModel::CodeColumn, MessageOverviewModel::TextColumn})
        if (source->index(sourceRow, column, sourceParent)
                .data()
                .toString()
                .contains(filter_, Qt::CaseInsensitive))
            return true;
    return false;
}

bool MessageFilterModel::FrequencyLess(int left, int right) const {
    const auto* source = static_cast<const MessageOverviewModel*>(sourceModel());
    const MessageRow& a = source->Overview().Rows()[static_cast<std::size_t>(left)];
    const MessageRow& b = source->Overview().Rows()[static_cast<std::size_t>(right)];
    if (a.Total() != b.Total())
        return a.Total() > b.Total();
    return a.code < b.code;
}

bool MessageFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    if (!byFrequency_) {
        const QVariant a = left.data(sortRole()), b = right.data(sortRole());
        const QPartialOrdering order = QVariant::compare(a, b);
        if (order != QPartialOrdering::Equivalent)
            return order == QPartialOrdering::Less;
    }
    // Equal keys fall back to frequency, so that the order never depends on arrival.
    return FrequencyLess(left.row(), right.row());
}

} // namespace lexorant
