#include "dataset/read_out_tables.h"
#include "tests/support/hand_made_read_out.h"

#include <gtest/gtest.h>

using namespace lexorant;

namespace {

std::string Table(const ReadOutData& data, InfoBlock block, std::string_view readOut) {
    std::string out;
    EXPECT_TRUE(WriteBlockTable(data, block, readOut, [&](std::string_view piece) {
        out += piece;
        return true;
    }));
    return out.substr(out.find("\r\n") + 2);
}

} // namespace

TEST(ReadOutTablesTest, ARowPerEntryInWithTimeCodeKindAndMessage) {
    ReadOutData data;
    data.store = test::HandMadeReadOut({{-9, {9, 12, 24, 7, 5, 0}}, {0, {10, 13, 1, 0, 0, 0}}, {-4106}}, {});
    data.in = EntrySet(data.store.GInfo, data.store.XInfo);
    data.in.Add({InfoBlock::GInfo, 0});
    data.in.Add({InfoBlock::GInfo, 1});
    data.serial = "S1";
    EXPECT_EQ(
        Table(data, InfoBlock::GInfo, "a,\"b\".inf"),
        "\"a,\"\"b\"\".inf\",1,2009-12-24 07:05:00,-9,Fault,Pt100 Fühler Vorlauf (RF1) "
        "defekt,1,0,off,off,off,"
        "manual,inactive,50 Hz,230 V,0,off,off,off,false\r\n"
        "\"a,\"\"b\"\".inf\",2,,0,None,Keine Meldung!,1,0,off,off,off,manual,inactive,50 Hz,230 V,0,off,off,"
        "off,false\r\n");
    EXPECT_EQ(
        ReadOutTable(data, "r.inf"),
        "read_out,serial,g_answer_length,g_info_type,g_entry_count,x_answer_length,x_info_type,x_entry_count,"
        "g_info_in,x_info_in,partial,damaged,first_time,last_time\r\n"
        "r.inf,S1,36,0,3,196,3,0,2,0,false,false,2009-12-24 07:05:00,2009-12-24 07:05:00\r\n");
}
