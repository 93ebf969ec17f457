#pragma once
// The message overview as a table for a view: one row per message code, filled entry by entry and
// published in batches, and the proxy that sorts (most frequent first until a column is chosen) and
// filters it by code or text.
#include "records/message_overview.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <cstddef>
#include <cstdint>
#include <functional>

namespace lexorant {

class MessageOverviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        CodeColumn,
        KindColumn,
        GInfoColumn,
        XInfoColumn,
        FirstColumn,
        LastColumn,
        TextColumn,
        NewColumn, // only while the read-out is compared with an earlier one; shown before the text
        kColumns
    };
    // Numbers to sort by, where the display text would sort wrongly.
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    // Empties the table (one model reset).
    void Clear();
    // Counts one shown entry; the view learns of it at the next Publish.
    void Add(const RecordStore& store, EntryRef entry);
    // Tells the views of the rows added or changed since the last Publish.
    void Publish();

    const MessageOverview& Overview() const { return overview_; }
    // How many of a code's entries are new since an earlier read-out; none: no comparison.
    using NewCounts = std::function<std::size_t(std::int16_t code)>;
    void SetNewCounts(NewCounts newCounts);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    MessageOverview overview_;
    NewCounts newCounts_;
    int shownRows_ = 0;
    // Rows below shownRows_ whose counts changed since the last Publish.
    int changedFirst_ = -1;
    int changedLast_ = -1;
};

class MessageFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit MessageFilterModel(QObject* parent = nullptr);

    // Rows whose code or message text holds the text, case aside; empty shows every row.
    void SetFilterText(const QString& text);
    // Only rows of codes with new entries.
    void SetNewOnly(bool on);
    // Most frequent first (G-Info plus X-Info), then by code: the order before a column is chosen.
    void SortByFrequency();
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    bool FrequencyLess(int left, int right) const;
    QString filter_;
    bool newOnly_ = false;
    bool byFrequency_ = true;
};

} // namespace lexorant
