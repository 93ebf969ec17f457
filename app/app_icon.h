#pragma once
#include <QIcon>

namespace lexorant {
// The program's own icon: a thermometer over a serial plug, drawn at every size it is asked for.
QIcon AppIcon();
} // namespace lexorant
