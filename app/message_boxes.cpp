#include "app/message_boxes.h"

#include "app/app_texts.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace lexorant {

void ShowErrorBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Fehler"), text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

namespace {

// A box of two buttons, the first the default, the second the answer to Escape; true for the first.
// `whileOpen` runs on the box just before it is shown.
bool AskTwoWays(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const char* name,
                const QString& text, const QString& first, const QString& second,
                QMessageBox::ButtonRole firstRole, QMessageBox::ButtonRole secondRole,
                const std::function<void(QMessageBox&)>& whileOpen = {}) {
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
    box.setObjectName(QString::fromLatin1(name));
    QPushButton* firstButton = box.addButton(first, firstRole);
    QPushButton* secondButton = box.addButton(second, secondRole);
    box.setDefaultButton(firstButton);
    box.setEscapeButton(secondButton);
    if (whileOpen)
        whileOpen(box);
    box.exec();
    return box.clickedButton() == firstButton;
}

bool AskRetryBox(QWidget* parent, const QString& text, const std::function<void(QMessageBox&)>& whileOpen) {
    return AskTwoWays(parent, QMessageBox::Critical, QStringLiteral("Fehler"), "RetryBox", text,
                      QStringLiteral("&Wiederholen"), QStringLiteral("Abbrechen"), QMessageBox::AcceptRole,
                      QMessageBox::RejectRole, whileOpen);
}

} // namespace

bool AskYesNo(QWidget* parent, const QString& text) {
    return AskTwoWays(parent, QMessageBox::Warning, QStringLiteral("Warnung"), "QuestionBox", text,
                      QStringLiteral("&Ja"), QStringLiteral("&Nein"), QMessageBox::YesRole,
                      QMessageBox::NoRole);
}

bool AskRetry(QWidget* parent, const QString& text) {
    return AskRetryBox(parent, text, {});
}

RetryAnswer AskRetryWhile(QWidget* parent, const QString& text, int interval,
                          const std::function<bool()>& settled) {
    bool byItself = false;
    QTimer timer;
    const bool retry = AskRetryBox(parent, text, [&](QMessageBox& box) {
        QObject::connect(&timer, &QTimer::timeout, &box, [&] {
            timer.stop(); // a look may take a while: no second one queued behind it
            if (settled()) {
                byItself = true;
                box.done(QDialog::Accepted);
            } else {
                timer.start(interval);
            }
        });
        timer.start(interval);
    });
    if (byItself)
        return RetryAnswer::Settled;
    return retry ? RetryAnswer::Retry : RetryAnswer::GiveUp;
}

bool AskQuestion(QWidget* parent, const QString& text) {
    return AskTwoWays(parent, QMessageBox::Question, QStringLiteral("Frage"), "ContinueBox", text,
                      QStringLiteral("&Ja"), QStringLiteral("&Nein"), QMessageBox::YesRole,
                      QMessageBox::NoRole);
}

QString WithFullStop(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void ShowStopBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, WithFullStop(text), QMessageBox::NoButton,
                    parent);
    box.setObjectName(QStringLiteral("StopBox"));
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace lexorant
