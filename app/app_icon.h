#pragma once
#include <QIcon>

namespace lexorant {
// The program's own icon, a thermometer on a blue tile, drawn at every size it is asked for (the
// installed icons, packaging/icons/de.brenno.lexorant.svg, are the same picture).
QIcon AppIcon();
} // namespace lexorant
