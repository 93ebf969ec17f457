#include "app/message_boxes.h"

#include "app/app_texts.h"

#include <QMessageBox>
#include <QPushButton>

namespace lexorant {

void ShowErrorBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Fehler"), text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool AskYesNo(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warnung"), text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("QuestionBox"));
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

QString WithFullStop(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void ShowStopBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, WithFullStop(text), QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("StopBox"));
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace lexorant
