#include "records/info_grids.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace lexorant;

namespace {

std::string CellOf(const InfoGridModel& m, int col, int row) {
    return m.Cell(col, row).toStdString();
}

// A G-Info slot that shows `code` in row 4, so columns can be told apart.
std::array<std::uint8_t, 16> GSlot(int code, std::uint8_t entryType = 1) {
    std::array<std::uint8_t, 16> s{};
    s[0] = entryType;
    s[8] = static_cast<std::uint8_t>(code & 0xFF);
    s[9] = static_cast<std::uint8_t>((code >> 8) & 0xFF);
    return s;
}

std::array<std::uint8_t, 96> XSlot(int code, std::uint8_t entryType = 4) {
    std::array<std::uint8_t, 96> s{};
    s[0] = entryType;
    s[8] = static_cast<std::uint8_t>(code & 0xFF);
    s[9] = static_cast<std::uint8_t>((code >> 8) & 0xFF);
    s[20] = 0x29; // Setpoint 2345
    s[21] = 0x09;
    s[80] = 0xD2; // TcHt 1234
    s[81] = 0x04;
    return s;
}

// Counts the change notifications a view would get.
struct Signals {
    int resets = 0;
    int columnsInserted = 0;
    int columnsRemoved = 0;
    int dataChanged = 0;
    int firstInserted = -1;
    int lastInserted = -1;

    explicit Signals(QAbstractItemModel& m) {
        QObject::connect(&m, &QAbstractItemModel::modelReset, [this] { ++resets; });
        QObject::connect(&m, &QAbstractItemModel::columnsInserted,
                         [this](const QModelIndex&, int first, int last) {
                             ++columnsInserted;
                             firstInserted = first;
                             lastInserted = last;
                         });
        QObject::connect(&m, &QAbstractItemModel::columnsRemoved, [this] { ++columnsRemoved; });
        QObject::connect(&m, &QAbstractItemModel::dataChanged, [this] { ++dataChanged; });
    }
};

TEST(InfoGridModel, FreshGridHasTwoEmptyColumnsAndRows) {
    GInfoGridModel g;
    XInfoGridModel x;
    for (const InfoGridModel* m :
         {static_cast<const InfoGridModel*>(&g), static_cast<const InfoGridModel*>(&x)}) {
        EXPECT_EQ(m->ColCount(), 2);
        EXPECT_EQ(m->RowCount(), 2);
        EXPECT_EQ(m->columnCount(), 1);
        EXPECT_EQ(m->rowCount(), 1);
        EXPECT_EQ(CellOf(*m, 0, 0), "");
        EXPECT_EQ(CellOf(*m, 1, 1), "");
    }
}

TEST(GInfoGridModel, InitThenEntriesInOrder) {
    GInfoGridModel g;
    g.Init(InfoHeader{36, 0, 3});
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(g.RowCount(), 17);
    EXPECT_EQ(CellOf(g, 0, 0), "No.");
    EXPECT_EQ(CellOf(g, 0, 4), "Message");
    EXPECT_EQ(CellOf(g, 0, 16), "NTR");
    for (int row = 0; row < 17; ++row) {
        EXPECT_EQ(CellOf(g, 1, row), "") << row;
    }

    g.ShowEntry(0, GSlot(-1).data());
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(CellOf(g, 1, 0), "1");
    EXPECT_EQ(CellOf(g, 1, 4), "-1");
    EXPECT_EQ(CellOf(g, 1, 11), "50 Hz");

    g.ShowEntry(1, GSlot(-4, 0).data());
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(CellOf(g, 2, 0), "2");
    EXPECT_EQ(CellOf(g, 2, 4), "-4");
    EXPECT_EQ(CellOf(g, 2, 11), "???");
    EXPECT_EQ(CellOf(g, 3, 0), ""); // beyond the grid
    EXPECT_EQ(CellOf(g, 1, 17), "");
}

TEST(GInfoGridModel, OtherTypesKeepTheRowCount) {
    GInfoGridModel g;
    g.Init(InfoHeader{36, 1, 1});
    EXPECT_EQ(g.RowCount(), 2);
    g.ShowEntry(0, GSlot(-9).data());
    EXPECT_EQ(CellOf(g, 0, 1), "Type");
    EXPECT_EQ(CellOf(g, 1, 1), "1");
    EXPECT_EQ(CellOf(g, 0, 4), ""); // written, but not in the grid
    EXPECT_EQ(CellOf(g, 1, 4), "");
    g.SetRowCount(17);
    EXPECT_EQ(CellOf(g, 0, 4), "Message");
    EXPECT_EQ(CellOf(g, 1, 4), "-9");

    // After a type-0 grid the row count stays at 17 too.
    g.Init(InfoHeader{36, 0, 1});
    g.Init(InfoHeader{36, 7, 1});
    EXPECT_EQ(g.RowCount(), 17);
}

TEST(GInfoGridModel, InitCutsBackAndLeavesNoStaleCells) {
    GInfoGridModel g;
    g.Init(InfoHeader{36, 0, 3});
    for (int i = 0; i < 3; ++i) {
        g.ShowEntry(i, GSlot(-100 - i).data());
    }
    EXPECT_EQ(g.ColCount(), 4);

    g.Init(InfoHeader{36, 0, 3});
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(CellOf(g, 1, 0), "");
    EXPECT_EQ(CellOf(g, 1, 4), "");

    // Entry 1 failed: its column exists but shows nothing of the earlier read.
    g.ShowEntry(0, GSlot(-5).data());
    g.ShowEntry(2, GSlot(-7).data());
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(CellOf(g, 1, 4), "-5");
    EXPECT_EQ(CellOf(g, 2, 0), "");
    EXPECT_EQ(CellOf(g, 2, 4), "");
    EXPECT_EQ(CellOf(g, 3, 0), "3");
    EXPECT_EQ(CellOf(g, 3, 4), "-7");
}

TEST(GInfoGridModel, ColumnCountFollowsTheLastEntryShown) {
    GInfoGridModel g;
    g.Init(InfoHeader{36, 0, 5});
    g.ShowEntry(4, GSlot(-1).data());
    EXPECT_EQ(g.ColCount(), 6);
    g.ShowEntry(1, GSlot(-2).data());
    EXPECT_EQ(g.ColCount(), 3);
    g.ShowEntry(4, GSlot(-3).data());
    EXPECT_EQ(CellOf(g, 5, 4), "-3");
    EXPECT_EQ(CellOf(g, 3, 4), ""); // dropped with the smaller count, not kept
    g.ShowEntry(-1, GSlot(-4).data());
    g.ShowEntry(65535, GSlot(-4).data());
    EXPECT_EQ(g.ColCount(), 6);
    g.ShowEntry(65534, GSlot(-4).data());
    EXPECT_EQ(g.ColCount(), 65536);
}

TEST(XInfoGridModel, RowsAndHeadingsFollowTheType) {
    struct Case {
        int type;
        int rows;
        const char* lastHeading;
        const char* row48; // tail bytes D2 04 00 ...
    };
    const Case cases[] = {{0, 48, "TV Ext.", ""},
                          {1, 52, "ExpValve HT", "12.34"},
                          {2, 50, "Compressor hrs", "617"},
                          {3, 54, "Compressor hrs", "12.34"},
                          {4, 48, "TV Ext.", ""}};
    XInfoGridModel x;
    for (const Case& c : cases) {
        x.Init(InfoHeader{196, static_cast<std::uint16_t>(c.type), 1});
        EXPECT_EQ(x.RowCount(), c.rows) << c.type;
        EXPECT_EQ(x.ColCount(), 2) << c.type;
        EXPECT_EQ(CellOf(x, 0, c.rows - 1), c.lastHeading) << c.type;
        x.ShowEntry(0, XSlot(-1).data());
        EXPECT_EQ(CellOf(x, 1, 25), "23.45") << c.type;
        EXPECT_EQ(CellOf(x, 1, 48), c.row48) << c.type;
        EXPECT_EQ(CellOf(x, 1, c.rows), "") << c.type;
    }
}

TEST(XInfoGridModel, DecimalSeparatorAppliesToShownEntries) {
    XInfoGridModel x;
    x.Init(InfoHeader{196, 3, 1});
    x.ShowEntry(0, XSlot(0).data());
    Signals s(x);
    x.SetDecimalSeparator(QLatin1Char(','));
    EXPECT_EQ(s.dataChanged, 1);
    EXPECT_EQ(CellOf(x, 1, 25), "23,45");
    EXPECT_EQ(CellOf(x, 1, 48), "12,34");
}

TEST(InfoGridModel, QtSeesTheGridWithoutItsHeadingColumnAndRow) {
    GInfoGridModel g;
    g.Init(InfoHeader{36, 0, 2});
    g.ShowEntry(0, GSlot(-1).data());
    g.ShowEntry(1, GSlot(-2).data());
    EXPECT_EQ(g.columnCount(), 2);
    EXPECT_EQ(g.rowCount(), 16);
    EXPECT_EQ(g.headerData(1, Qt::Horizontal).toString(), "2");
    EXPECT_EQ(g.headerData(3, Qt::Vertical).toString(), "Message");
    EXPECT_EQ(g.data(g.index(3, 1)).toString(), "-2");
    EXPECT_EQ(g.data(g.index(0, 0)).toString(), "1"); // "Type"
    EXPECT_FALSE(g.data(g.index(3, 1), Qt::EditRole).isValid());
    EXPECT_FALSE(g.flags(g.index(3, 1)).testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(g.flags(g.index(3, 1)).testFlag(Qt::ItemIsSelectable));
    EXPECT_EQ(g.rowCount(g.index(0, 0)), 0); // a table, no children
}

TEST(InfoGridModel, CountsBelowOneAreSafe) {
    GInfoGridModel g;
    g.Init(InfoHeader{36, 0, 1});
    g.ShowEntry(0, GSlot(-1).data());
    g.SetColCount(0);
    g.SetRowCount(-5);
    EXPECT_EQ(g.ColCount(), 1);
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.columnCount(), 0);
    EXPECT_EQ(g.rowCount(), 0);
    EXPECT_EQ(CellOf(g, 0, 0), "No.");
    EXPECT_EQ(CellOf(g, 1, 0), "");
    g.SetColCount(2);
    g.SetRowCount(17);
    EXPECT_EQ(CellOf(g, 1, 4), ""); // the entry went with its column
}

TEST(InfoGridModel, ShowEntryInsertsOneColumnPerEntry) {
    GInfoGridModel g;
    g.Init(InfoHeader{36, 0, 3});
    Signals s(g);
    g.ShowEntry(0, GSlot(-1).data()); // column 1 already exists
    EXPECT_EQ(s.columnsInserted, 0);
    g.ShowEntry(1, GSlot(-1).data());
    EXPECT_EQ(s.columnsInserted, 1);
    EXPECT_EQ(s.firstInserted, 1);
    EXPECT_EQ(s.lastInserted, 1);
    EXPECT_EQ(s.dataChanged, 2);
    EXPECT_EQ(s.resets, 0);
}

RecordStore MakeStore(std::uint16_t gCount, std::uint16_t xCount, std::uint16_t xType) {
    RecordStore store;
    store.Replace(InfoHeader{36, 0, gCount}, InfoHeader{196, xType, xCount});
    for (std::size_t i = 0; i < gCount; ++i) {
        const auto slot = GSlot(-static_cast<int>(i) - 1);
        std::copy(slot.begin(), slot.end(), store.GInfoSlot(i));
    }
    for (std::size_t i = 0; i < xCount; ++i) {
        const auto slot = XSlot(-static_cast<int>(i) - 1);
        std::copy(slot.begin(), slot.end(), store.XInfoSlot(i));
    }
    return store;
}

TEST(InfoGridModel, ShowAllShowsEveryEntryWithOneReset) {
    const RecordStore store = MakeStore(1000, 300, 3);
    GInfoGridModel g;
    XInfoGridModel x;
    g.ShowEntry(2000, GSlot(5).data()); // an earlier, longer grid
    Signals gs(g);
    Signals xs(x);
    g.ShowAll(store);
    x.ShowAll(store);

    EXPECT_EQ(gs.resets, 1);
    EXPECT_EQ(xs.resets, 1);
    EXPECT_EQ(gs.columnsInserted + gs.columnsRemoved + gs.dataChanged, 0);
    EXPECT_EQ(xs.columnsInserted + xs.columnsRemoved + xs.dataChanged, 0);
    EXPECT_EQ(g.ColCount(), 1001);
    EXPECT_EQ(g.RowCount(), 17);
    EXPECT_EQ(x.ColCount(), 301);
    EXPECT_EQ(x.RowCount(), 54);
    EXPECT_EQ(CellOf(g, 1000, 0), "1000");
    EXPECT_EQ(CellOf(g, 1000, 4), "-1000");
    EXPECT_EQ(CellOf(x, 300, 4), "-300");
    EXPECT_EQ(CellOf(x, 300, 53), "0");
    EXPECT_EQ(CellOf(x, 0, 53), "Compressor hrs");
}

TEST(InfoGridModel, ShowAllOfEmptyBlocksLeavesOneEmptyEntryColumn) {
    GInfoGridModel g;
    XInfoGridModel x;
    for (const RecordStore& store : {MakeStore(4, 4, 3), MakeStore(0, 0, 1)}) {
        g.ShowAll(store);
        x.ShowAll(store);
    }
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(x.ColCount(), 2);
    EXPECT_EQ(x.RowCount(), 52);
    EXPECT_EQ(CellOf(g, 1, 0), "");
    EXPECT_EQ(CellOf(x, 1, 4), "");
    EXPECT_EQ(CellOf(x, 0, 51), "ExpValve HT");
}

TEST(InfoGridModel, ShowAllOfAHeaderClaimingMoreThanTheSlotsHeld) {
    RecordStore store = MakeStore(3, 3, 2);
    store.GInfo.EntryCount = 60000;
    store.XInfo.EntryCount = 60000;
    GInfoGridModel g;
    XInfoGridModel x;
    g.ShowAll(store);
    x.ShowAll(store);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(x.ColCount(), 4);
}

TEST(InfoGrids, ReadSequence) {
    RecordStore store = MakeStore(3, 2, 1);
    GInfoGridModel g;
    XInfoGridModel x;
    InitInfoGrids(store, g, x);
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(x.ColCount(), 2);
    EXPECT_EQ(x.RowCount(), 52);
    g.ShowEntry(0, store.GInfoSlot(0));
    g.ShowEntry(2, store.GInfoSlot(2)); // entry 1 failed
    x.ShowEntry(0, store.XInfoSlot(0));
    x.ShowEntry(1, store.XInfoSlot(1));
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(CellOf(g, 2, 4), "");
    EXPECT_EQ(CellOf(g, 3, 4), "-3");
    EXPECT_EQ(x.ColCount(), 3);
    EXPECT_EQ(CellOf(x, 2, 0), "2");
    EXPECT_EQ(CellOf(x, 2, 49), "0"); // entry type 4 carries T0Ht
}

} // namespace
