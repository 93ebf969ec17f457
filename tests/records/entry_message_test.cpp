// The message text of an entry, as selecting a cell of its column shows it.
#include "records/entry_message.h"

#include "catalogue/find_message_text.h"
#include "catalogue/message_catalogue.h"
#include "tests/support/hand_made_read_out.h"

#include <gtest/gtest.h>

using namespace lexorant;

TEST(MessageTextOfEntry, IsTheLookupOfTheEntrysMessageCell) {
    ReadOutData readOut;
    readOut.store = test::HandMadeReadOut({{-1}, {0}, {-2}}, {{-4220}, {5}});
    readOut.in = EntrySet::All(readOut.store.GInfo, readOut.store.XInfo);
    const struct {
        EntryRef entry;
        std::string text;
    } cases[] = {
        {{InfoBlock::GInfo, 0}, CatalogueText(-1)},   {{InfoBlock::GInfo, 1}, kNoMessageText},
        {{InfoBlock::GInfo, 2}, kMessageTextMissing}, {{InfoBlock::XInfo, 0}, CatalogueText(-4220)},
        {{InfoBlock::XInfo, 1}, kMessageTextMissing},
    };
    for (const auto& c : cases)
        for (const char* separator : {".", ","})
            EXPECT_EQ(MessageTextOfEntry(readOut, c.entry, separator), c.text) << c.entry.index;

    // The column of an entry that is not in holds no text, and no text is no number.
    readOut.in = EntrySet(readOut.store.GInfo, readOut.store.XInfo);
    EXPECT_THROW(MessageTextOfEntry(readOut, {InfoBlock::GInfo, 0}, "."), ConversionError);
}
