#include "records/entry_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <set>
#include <string>
#include <vector>

using namespace lexorant;

namespace {

struct LayoutCase {
    const char* name;
    const EntryLayout& layout;
    int rows;
};

std::vector<LayoutCase> Layouts() {
    return {{"G-Info", GInfoLayout(), 17},      {"X-Info type 0", XInfoLayout(0), 48},
            {"X-Info type 1", XInfoLayout(1), 52}, {"X-Info type 2", XInfoLayout(2), 50},
            {"X-Info type 3", XInfoLayout(3), 54}, {"X-Info type 4", XInfoLayout(4), 48}};
}

bool IsBitField(const FieldDef& f) {
    return f.rule == TextRule::Bits;
}

TEST(EntryFields, EveryGridRowHasOneField) {
    for (const LayoutCase& c : Layouts()) {
        EXPECT_EQ(c.layout.RowCount(), c.rows) << c.name;
        std::multiset<int> rows;
        for (const FieldDef* f : c.layout.Fields())
            if (f->row >= 0)
                rows.insert(f->row);
        for (int row = 1; row < c.rows; ++row)
            EXPECT_EQ(rows.count(row), 1u) << c.name << " row " << row;
        EXPECT_EQ(rows.size(), static_cast<std::size_t>(c.rows - 1)) << c.name;
    }
}

// Row 0 is the entry number; every other row is headed by its field, and the rows of the head that both
// kinds of entry share are headed alike in both grids.
TEST(EntryFields, EveryRowIsHeadedAndTheSharedHeadAlike) {
    for (const LayoutCase& c : Layouts()) {
        EXPECT_EQ(c.layout.Heading(0), kNumberHeading) << c.name;
        for (int row = 1; row < c.layout.RowCount(); ++row) {
            EXPECT_FALSE(c.layout.Heading(row).empty()) << c.name << " row " << row;
            EXPECT_EQ(c.layout.Heading(row), c.layout.FieldAt(row)->heading) << c.name << " row " << row;
        }
        for (int row = 0; row < GInfoLayout().RowCount(); ++row)
            EXPECT_EQ(c.layout.Heading(row), GInfoLayout().Heading(row)) << c.name << " row " << row;
        EXPECT_EQ(c.layout.Heading(c.layout.RowCount()), "") << c.name;
    }
}

TEST(EntryFields, WholeFieldsTileTheRecord) {
    for (const LayoutCase& c : Layouts()) {
        std::vector<const FieldDef*> whole;
        for (const FieldDef* f : c.layout.Fields())
            if (!IsBitField(*f))
                whole.push_back(f);
        std::sort(whole.begin(), whole.end(), [](auto* a, auto* b) { return a->offset < b->offset; });
        int next = 0;
        for (const FieldDef* f : whole) {
            EXPECT_EQ(f->offset, next) << c.name << " " << f->name;
            EXPECT_GT(f->size, 0) << c.name << " " << f->name;
            next = f->offset + f->size;
        }
        EXPECT_EQ(next, c.layout.RecordSize()) << c.name;
    }
}

TEST(EntryFields, BitFieldsSplitTheirWord) {
    for (const LayoutCase& c : Layouts()) {
        std::vector<unsigned> used(static_cast<std::size_t>(c.layout.RecordSize()), 0);
        for (const FieldDef* f : c.layout.Fields()) {
            if (!IsBitField(*f))
                continue;
            const auto word = std::find_if(c.layout.Fields().begin(), c.layout.Fields().end(), [&](auto* w) {
                return !IsBitField(*w) && w->offset == f->offset && w->size == f->size && w->row >= 0;
            });
            EXPECT_NE(word, c.layout.Fields().end()) << c.name << " " << f->name << " lies on no shown word";
            EXPECT_LT(f->mask, 1u << (8 * f->size)) << c.name << " " << f->name;
            EXPECT_EQ(f->mask & used[static_cast<std::size_t>(f->offset)], 0u) << c.name << " " << f->name;
            used[static_cast<std::size_t>(f->offset)] |= f->mask;
            EXPECT_EQ(f->texts.size(), (f->mask >> std::countr_zero(f->mask)) + 1) << c.name << " " << f->name;
        }
    }
}

TEST(EntryFields, NamesAreUniqueAndShownFieldsNamed) {
    for (const LayoutCase& c : Layouts()) {
        std::set<std::string_view> names;
        for (const FieldDef* f : c.layout.Fields()) {
            EXPECT_EQ(f->name.empty(), f->row < 0) << c.name << " offset " << f->offset;
            EXPECT_EQ(f->rule == TextRule::None, f->row < 0) << c.name << " " << f->name;
            if (!f->name.empty()) {
                EXPECT_TRUE(names.insert(f->name).second) << c.name << " " << f->name;
            }
        }
    }
}

} // namespace
