#include "message_catalogue.h"

namespace lexorant {

// One row per line, the code first; the texts are grouped by subject in the included files.
const std::array<MessageEntry, kMessageCount> MessageCatalogue = {{
#include "texts/faults.inc"
#include "texts/modules.inc"
#include "texts/controller.inc"
#include "texts/operation.inc"
}};

} // namespace lexorant
