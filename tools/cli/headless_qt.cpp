#include "tools/cli/headless_qt.h"

#include <QtGlobal>

#include <cstdio>

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
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietOffscreenNotes);
}

} // namespace lexorant::cli
