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

namespace {

// A box of two buttons, the first the default, the second the answer to Escape; true for the first.
bool AskTwoWays(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const char* name,
                const QString& text, const QString& first, const QString& second,
                QMessageBox::ButtonRole firstRole, QMessageBox::ButtonRole secondRole) {
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
    box.setObjectName(QString::fromLatin1(name));
    QPushButton* firstButton = box.addButton(first, firstRole);
    QPushButton* secondButton = box.addButton(second, secondRole);
    box.setDefaultButton(firstButton);
    box.setEscapeButton(secondButton);
    box.exec();
    return box.clickedButton() == firstButton;
}

} // namespace

bool AskYesNo(QWidget* parent, const QString& text) {
    return AskTwoWays(parent, QMessageBox::Warning, QStringLiteral("Warnung"), "QuestionBox", text,
                      QStringLiteral("&Ja"), QStringLiteral("&Nein"), QMessageBox::YesRole, QMessageBox::NoRole);
}

bool AskRetry(QWidget* parent, const QString& text) {
    return AskTwoWays(parent, QMessageBox::Critical, QStringLiteral("Fehler"), "RetryBox", text,
                      QStringLiteral("&Wiederholen"), QStringLiteral("Abbrechen"), QMessageBox::AcceptRole,
                      QMessageBox::RejectRole);
}

bool AskQuestion(QWidget* parent, const QString& text) {
    return AskTwoWays(parent, QMessageBox::Question, QStringLiteral("Frage"), "ContinueBox", text,
                      QStringLiteral("&Ja"), QStringLiteral("&Nein"), QMessageBox::YesRole, QMessageBox::NoRole);
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
