#include "tools/cli/headless_qt.h"

#include <cstdio>
#include <cstdlib>

namespace lexorant::cli {

namespace {

// Qt's notes about running without a display (no runtime folder, a platform without window sizes)
// say nothing about what is drawn.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if ((message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR")) ||
                                 message.contains(QStringLiteral("propagateSizeHints"))))
        return;
    std::fputs(qFormatLogMessage(type, context, message).toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

} // namespace

HeadlessSetup::HeadlessSetup() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietOffscreenNotes);
}

} // namespace lexorant::cli
