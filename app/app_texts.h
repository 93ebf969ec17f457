#pragma once
#include <QDir>
#include <QString>

namespace lexorant {

inline const QString kApplicationTitle = QStringLiteral("Brenno Lexorant");
inline const QString kStartCaption = QStringLiteral("Brenno Lexorant V1.3");
inline const QString kWindowHint = QStringLiteral("Kestrova");
inline const QString kXInfoGridHint = QStringLiteral("Hallo");
inline const QString kQuitQuestion = QStringLiteral("Lexorant is still in progress! Do you really want to quit?");
inline const QString kFileFilter = QStringLiteral("Caldora Info Datei (*.inf)");

// The caption once a file is chosen or opened, with the path written as the system writes paths.
inline QString FileCaption(const QString& fileName) {
    return QStringLiteral("Brenno Lexorant V1.2 - [") + QDir::toNativeSeparators(fileName) + QLatin1Char(']');
}

} // namespace lexorant
