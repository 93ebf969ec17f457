#include "catalogue/message_catalogue.h"

namespace lexorant {

// One row per line, the code first; the texts are grouped by subject in the included files.
const std::array<MessageEntry, kMessageCount> MessageCatalogue = {{
#include "catalogue/texts/faults.inc"
#include "catalogue/texts/modules.inc"
#include "catalogue/texts/controller.inc"
#include "catalogue/texts/operation.inc"
}};

} // namespace lexorant
