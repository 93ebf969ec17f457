#pragma once
#include <QString>

class QWidget;

namespace lexorant {

// The ".inf" file the window shows, from its caption; empty before a file was chosen or opened.
QString ShownFileName(const QWidget& window);

} // namespace lexorant
