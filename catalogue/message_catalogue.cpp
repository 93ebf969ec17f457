#include "catalogue/message_catalogue.h"

#include <algorithm>

namespace lexorant {

// One row per line, the code first; the texts are grouped by subject in the included files.
const std::array<MessageEntry, kMessageCount> MessageCatalogue = {{
#include "catalogue/texts/faults.inc"
#include "catalogue/texts/modules.inc"
#include "catalogue/texts/controller.inc"
#include "catalogue/texts/operation.inc"
}};

const char* CatalogueText(std::int16_t code) {
    // Ordered by falling code.
    const auto it = std::lower_bound(MessageCatalogue.begin(), MessageCatalogue.end(), code,
                                     [](const MessageEntry& e, std::int16_t c) { return e.Code > c; });
    return it != MessageCatalogue.end() && it->Code == code ? it->Text : nullptr;
}

} // namespace lexorant
