#include "app/lexorant_application.h"

#include "app/app_texts.h"
#include "app/message_boxes.h"

#include <QTranslator>

#include <exception>

namespace lexorant {

namespace {

// Shortcut texts are German ("Strg+R"), while everything else stays as it is.
class ShortcutTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char* = nullptr, int = -1) const override {
        if (qstrcmp(context, "QShortcut") == 0 && qstrcmp(sourceText, "Ctrl") == 0)
            return QStringLiteral("Strg");
        return {};
    }
    bool isEmpty() const override { return false; }
};

} // namespace

LexorantApplication::LexorantApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The title names the taskbar entry and the stop box; not setApplicationDisplayName, which
    // would append itself to every window caption.
    setApplicationName(kApplicationTitle);
    installTranslator(new ShortcutTranslator(this));
}

bool LexorantApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowStopBox(activeWindow(), QString::fromStdString(e.what()));
    } catch (...) {
        ShowStopBox(activeWindow(), QString());
    }
    return false;
}

} // namespace lexorant
