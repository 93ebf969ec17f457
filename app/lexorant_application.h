#pragma once
// The application object: catches errors that escape a handler and shows them in the stop box,
// and names the Ctrl key "Strg" in shortcuts.
#include <QApplication>

namespace lexorant {

class LexorantApplication : public QApplication {
public:
    LexorantApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace lexorant
