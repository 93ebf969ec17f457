#pragma once
// A grid of one log: column 0 holds the row headings, row 0 the entry numbers, column n shows entry
// n-1. Qt sees the grid without its heading column and row: Qt cell (r, c) is grid cell (c+1, r+1),
// the vertical header is column 0 and the horizontal header row 0.
#include "records/entry_layout.h"

#include <QAbstractTableModel>
#include <QChar>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lexorant {

class InfoGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Counts include the heading column and row. A fresh grid has 2 of each, like the window's grids.
    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }

    // Empty outside the grid, in a column no entry was written into, and in rows not written.
    QString Cell(int col, int row) const;

    // Columns beyond a smaller count are dropped with their entries; new columns are empty.
    // Counts below 1 are taken as 1 (the heading column and row always exist); column counts are capped
    // at 65536, one heading column and 65535 entries.
    void SetColCount(int count);
    void SetRowCount(int count);

    QChar DecimalSeparator() const { return decimalSeparator_; }
    void SetDecimalSeparator(QChar separator);

    // The fields the grid shows since its last set-up; null before the first.
    const EntryLayout* Layout() const { return layout_; }
    // Entry columns, shown or not.
    int EntryColumnCount() const { return colCount_ - 1; }
    // The bytes shown in the column of entry `entry` (from 0); null for a column nothing was written into.
    const std::uint8_t* ShownSlot(int entry) const;

    // What the headings of entry columns carry besides their text (a mark for entries the window
    // wants to point out): `decoration(entry, role)` for roles other than the text; none by default.
    using HeadingDecoration = std::function<QVariant(int entry, int role)>;
    void SetHeadingDecoration(HeadingDecoration decoration);
    // The decoration of entries first to last changed; views repaint those headings.
    void HeadingsChanged(int first, int last);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    InfoGridModel(std::size_t slotSize, QObject* parent);

    // Cuts the grid back to one empty entry column, takes the layout's headings and, when rowCount > 0,
    // sets the row count; then shows `count` entries from `entrySlots` (contiguous) in columns 1 to count.
    // One model reset.
    void Rebuild(const EntryLayout& layout, int rowCount, const std::uint8_t* entrySlots, std::size_t count);

    // Sets the column count to index + 2 and writes the entry into column index + 1; an index outside
    // 0 to 65534 does nothing.
    void WriteEntry(int index, const std::uint8_t* slot);

private:
    void ResizeColumns(int count);

    std::size_t slotSize_;
    int colCount_ = 2;
    int rowCount_ = 2;
    QChar decimalSeparator_ = QLatin1Char('.');
    std::string separatorText_ = ".";
    const EntryLayout* layout_ = nullptr;
    // A copy of each shown slot and whether an entry was written, per entry column; texts are formed
    // only when asked for, so a block of 65535 entries stays a few megabytes.
    std::vector<std::uint8_t> slots_;
    std::vector<std::uint8_t> written_;
    HeadingDecoration decoration_;
};

} // namespace lexorant
