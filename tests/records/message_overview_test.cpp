#include "records/message_overview.h"

#include "catalogue/find_message_text.h"
#include "tests/support/hand_made_read_out.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace lexorant;

namespace {

using test::HandEntry;

RecordStore Store(const std::vector<HandEntry>& g, const std::vector<HandEntry>& x) {
    return test::HandMadeReadOut(g, x, 2);
}

const MessageRow& RowOf(const MessageOverview& o, int code) {
    const auto at = o.Tally().Find(static_cast<std::int16_t>(code));
    EXPECT_GE(at, 0) << code;
    return o.Rows().at(static_cast<std::size_t>(at));
}

constexpr EntryRef G(int i) {
    return {InfoBlock::GInfo, static_cast<std::uint16_t>(i)};
}
constexpr EntryRef X(int i) {
    return {InfoBlock::XInfo, static_cast<std::uint16_t>(i)};
}

} // namespace

TEST(MessageOverview, CountsBothBlocksAndKeepsOccurrencesInOrder) {
    const RecordStore s = Store({{-1}, {-16385}, {-1}, {0}}, {{-16385}, {-1}, {-2}});
    const MessageOverview o = BuildMessageOverview(s);

    ASSERT_EQ(o.Rows().size(), 4u);
    std::vector<int> order;
    for (const MessageRow& r : o.Rows())
        order.push_back(r.code);
    EXPECT_EQ(order, (std::vector<int>{-1, -16385, 0, -2})); // by first appearance

    const MessageRow& fault = RowOf(o, -1);
    EXPECT_EQ(fault.gInfo, 2u);
    EXPECT_EQ(fault.xInfo, 1u);
    EXPECT_EQ(fault.kind, MessageKind::Fault);
    EXPECT_EQ(o.Occurrences(0), (std::vector<EntryRef>{G(0), G(2), X(1)}));
    EXPECT_EQ(o.Occurrences(1), (std::vector<EntryRef>{G(1), X(0)}));
    EXPECT_EQ(RowOf(o, 0).kind, MessageKind::None);
    EXPECT_EQ(RowOf(o, -2).kind, MessageKind::Fault); // a fault the catalogue has no text for
    EXPECT_EQ(RowOf(o, -2).xInfo, 1u);
}

TEST(MessageOverview, FirstAndLastTakeOnlyValidDates) {
    const InfoTimeStamp late{9, 12, 24, 7, 5, 0}, early{8, 1, 2, 23, 59, 59};
    const InfoTimeStamp badMonth{9, 13, 1, 0, 0, 0}, badHour{1, 1, 1, 24, 0, 0}, zero{};
    const RecordStore s =
        Store({{-1, late}, {-1, badMonth}, {-5, zero}}, {{-1, early}, {-1, badHour}, {-5, badMonth}});
    const MessageOverview o = BuildMessageOverview(s);

    const MessageRow& dated = RowOf(o, -1);
    ASSERT_TRUE(dated.first && dated.last);
    EXPECT_EQ(dated.first->stamp, early);
    EXPECT_EQ(dated.last->stamp, late);
    EXPECT_EQ(StampText(dated.first), "02.01.08 23:59:59");
    EXPECT_EQ(StampText(dated.last), "24.12.09 07:05:00");

    const MessageRow& undated = RowOf(o, -5);
    EXPECT_FALSE(undated.first || undated.last);
    EXPECT_EQ(StampText(undated.first), "");
}

TEST(MessageOverview, EntryByEntryEqualsWholeStoreAndTalliesMerge) {
    const RecordStore a = Store({{-1}, {-4106}, {-1}}, {{-16431}, {-1, {8, 1, 1, 0, 0, 0}}});
    const RecordStore b = Store({{-4106, {10, 6, 1, 12, 0, 0}}}, {{-2063}});

    MessageOverview incremental;
    incremental.Add(a, G(0)); // first a stray read-out, then cleared as a new read clears it
    incremental.Clear();
    for (int i = 0; i < 3; ++i)
        incremental.Add(a, G(i));
    for (int i = 0; i < 2; ++i)
        incremental.Add(a, X(i));
    const MessageOverview whole = BuildMessageOverview(a);
    EXPECT_EQ(incremental.Rows(), whole.Rows());
    for (std::size_t r = 0; r < whole.Rows().size(); ++r)
        EXPECT_EQ(incremental.Occurrences(r), whole.Occurrences(r));

    MessageTally both = TallyMessages(a);
    both.Merge(TallyMessages(b));
    ASSERT_EQ(both.Rows().size(), 4u);
    const MessageRow& shared = both.Rows()[static_cast<std::size_t>(both.Find(-4106))];
    EXPECT_EQ(shared.files, 2u);
    EXPECT_EQ(shared.Total(), 2u);
    EXPECT_EQ(StampText(shared.first), "24.12.09 07:05:00");
    EXPECT_EQ(StampText(shared.last), "01.06.10 12:00:00");
    const MessageRow& once = both.Rows()[static_cast<std::size_t>(both.Find(-1))];
    EXPECT_EQ(once.files, 1u);
    EXPECT_EQ(once.Total(), 3u);
    EXPECT_EQ(StampText(once.first), "01.01.08 00:00:00");
}
