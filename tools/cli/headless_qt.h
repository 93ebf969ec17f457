#pragma once
// The Qt application of a command that draws without a display: off screen unless the caller chose
// a platform, and quiet about what does not matter without one.
#include <QApplication>

namespace lexorant::cli {

struct HeadlessSetup {
    HeadlessSetup();
    int argc = 1;
    char name[13] = "lexorant-cli";
    char* argv[2] = {name, nullptr};
};

// Set up before the QApplication base is constructed.
class HeadlessApplication : private HeadlessSetup, public QApplication {
public:
    HeadlessApplication() : QApplication(argc, argv) {}
};

} // namespace lexorant::cli
