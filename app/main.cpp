#include "app/app_icon.h"
#include "app/command_line.h"
#include "app/lexorant_application.h"
#include "app/message_boxes.h"
#include "app/tfrm_main.h"

#include <exception>

int main(int argc, char** argv) {
    if (const auto exitCode = lexorant::AnswerInfoOption(argc, argv))
        return *exitCode;
    lexorant::LexorantApplication app(argc, argv);
    app.setWindowIcon(lexorant::AppIcon());
    try {
        lexorant::TfrmMain frmMain;
        frmMain.showMaximized();
        lexorant::ApplyStartArguments(frmMain, argc, argv);
        app.exec();
    } catch (const std::exception& e) {
        lexorant::ShowStopBox(nullptr, QString::fromStdString(e.what()));
    }
    return 0;
}
