#pragma once
// The program's standard boxes, with German captions and buttons.
#include <QString>

#include <functional>

class QWidget;

namespace lexorant {

// A modal error box captioned "Fehler" with the error symbol and one "OK".
void ShowErrorBox(QWidget* parent, const QString& text);
// "Warnung" with "&Ja" (default) and "&Nein" (also Escape); true for "&Ja".
bool AskYesNo(QWidget* parent, const QString& text);
// "Fehler" with "&Wiederholen" (default) and "Abbrechen" (also Escape); true for "&Wiederholen".
bool AskRetry(QWidget* parent, const QString& text);
enum class RetryAnswer { Retry, GiveUp, Settled };
// AskRetry's box that, every `interval` while it is open, asks `settled` whether it is still needed;
// once that says no, the box closes by itself: Settled.
RetryAnswer AskRetryWhile(QWidget* parent, const QString& text, int interval,
                          const std::function<bool()>& settled);
// "Frage" with "&Ja" (default) and "&Nein" (also Escape); true for "&Ja".
bool AskQuestion(QWidget* parent, const QString& text);
// An error that escaped a handler: stop icon, captioned with the application title; a full
// stop is appended when the text ends in a character above ".".
void ShowStopBox(QWidget* parent, const QString& text);

QString WithFullStop(const QString& text);

} // namespace lexorant
