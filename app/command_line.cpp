#include "app/command_line.h"

#include "app/tfrm_main.h"
#include "file/file_naming.h"
#include "lexorant_version.h"
#include "link/wire_trace.h"
#include "options/option_parser.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <vector>

namespace lexorant {

namespace {

const char* const kHelp =
    "Usage: lexorant [-autosave] [FILE.inf]\n"
    "Reads the serial number and the G-Info and X-Info logs of a Caldora temperature-control\n"
    "unit over a serial line (COM1 to COM15), saves them as a \".inf\" read-out and shows either\n"
    "log in a grid; saved read-outs open again without a unit.\n"
    "\n"
    "Options:\n"
    "  -autosave, /autosave  the read command names its file itself, the first free\n"
    "                        O:\\geraete\\Lexorant\\<serial>_NN.inf (any case, any position)\n"
    "  FILE.inf              open this read-out at start, as File > Open does\n"
    "  -trace FILE           write every exchange on the serial line to FILE: time in ms,\n"
    "                        direction, bytes as hex and as text, how each answer ended\n"
    "  --smoke-test          quit once the window has been drawn (checks an installation)\n"
    "  --help                show this text and exit\n"
    "  --version             show the version and exit\n"
    "Qt's own options (such as -platform offscreen) are taken as well.\n"
#ifndef _WIN32
    "\n"
    "Ports and drive letters are links in ${XDG_CONFIG_HOME:-~/.config}/brenno-lexorant/dosdevices/:\n"
    "com1 to com15 lead to serial devices (default: COM1-COM4 /dev/ttyS0-3, COM5-COM10\n"
    "/dev/ttyUSB0-5, COM11-COM15 /dev/ttyACM0-4), o: to the folder that is drive O:.\n"
    "Serial devices belong to the group dialout: the user must be a member of it\n"
    "(sudo usermod -aG dialout $USER, then log in again).\n"
#endif
    ;

bool EndsWithInf(const std::string& arg) {
    return arg.size() > 4 && strcasecmp(arg.c_str() + arg.size() - 4, ".inf") == 0;
}

// What the window takes from its arguments. Nothing is refused: Qt's own options ("-platform
// offscreen") and whatever else stands there are passed over. The autosave switch is the read
// command's own (IsAutosaveSwitch), found at any position, even after "-trace".
struct WindowArguments {
    const char* info = nullptr; // "--help" or "--version", whichever comes first
    bool smokeTest = false;
    std::optional<std::string> trace;
    std::string startFile;
};

WindowArguments ParseWindowArguments(int argc, const char* const* argv) {
    WindowArguments arguments;
    OptionParser parser(nullptr);
    parser.PassOverOthers();
    for (const char* info : {"--help", "--version"})
        parser.Flag(info, [&arguments, info] {
            if (!arguments.info)
                arguments.info = info;
        });
    parser.Flag("--smoke-test", arguments.smokeTest);
    // The first "-trace" counts; the value of every one is a trace file, never the start file. A
    // switch after it is no file name ("-trace -autosave" must not write a file "-autosave").
    parser.Value("-trace", [&arguments](const std::string& file) {
        const char* const asSwitch[] = {"", file.c_str()};
        if (!arguments.trace)
            arguments.trace = IsAutosaveSwitch(2, asSwitch) ? std::string() : file;
        return true;
    });
    parser.Alias("/trace");
    parser.AnyCase();
    parser.WhenValueMissing([&arguments] {
        if (!arguments.trace)
            arguments.trace = std::string();
    });
    parser.Arguments([&arguments](const std::string& arg) {
        if (!arguments.startFile.empty() || arg[0] == '-' || !EndsWithInf(arg))
            return false;
        arguments.startFile = arg;
        return true;
    });
    parser.Parse(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    return arguments;
}

// Ends the message loop after the window's first paint has run.
class FirstPaintQuit : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, qApp, [] {
                std::fputs("lexorant: the window has been drawn\n", stderr);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

} // namespace

std::optional<int> AnswerInfoOption(int argc, const char* const* argv) {
    const char* info = ParseWindowArguments(argc, argv).info;
    if (!info)
        return std::nullopt;
    if (std::strcmp(info, "--help") == 0)
        std::fputs(kHelp, stdout);
    else
        PrintVersion("lexorant");
    return 0;
}

std::string StartFileArgument(int argc, const char* const* argv) {
    return ParseWindowArguments(argc, argv).startFile;
}

std::optional<std::string> TraceFileArgument(int argc, const char* const* argv) {
    return ParseWindowArguments(argc, argv).trace;
}

void StartTrace(TfrmMain& frmMain, const std::optional<std::string>& fileName) {
    if (!fileName)
        return;
    if (fileName->empty()) {
        std::fputs("lexorant: -trace needs a file name; the serial line is not traced\n", stderr);
        return;
    }
    std::string error;
    std::shared_ptr<WireTrace> trace = WireTrace::Open(*fileName, error);
    if (!trace) {
        std::fprintf(stderr, "lexorant: cannot write the trace '%s': %s; the serial line is not traced\n",
                     fileName->c_str(), error.c_str());
        return;
    }
    frmMain.SetTrace(std::move(trace));
}

void OpenStartFile(TfrmMain& frmMain, const std::string& fileName) {
    if (fileName.empty())
        return;
    // The caption shows the full path, as the open dialog gives it.
    const QString path = QFileInfo(QString::fromLocal8Bit(fileName)).absoluteFilePath();
    QTimer::singleShot(0, &frmMain, [&frmMain, path] { frmMain.LoadInfoFile(path); });
}

void ApplyStartArguments(TfrmMain& frmMain, int argc, const char* const* argv) {
    const WindowArguments arguments = ParseWindowArguments(argc, argv);
    StartTrace(frmMain, arguments.trace);
    OpenStartFile(frmMain, arguments.startFile);
    if (arguments.smokeTest)
        frmMain.installEventFilter(new FirstPaintQuit(&frmMain));
}

} // namespace lexorant
