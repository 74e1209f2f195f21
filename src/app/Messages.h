#pragma once
// Texts and reports shared by every window of the program.

#include <QString>

#include <exception>

// Title of the main window's caption and of the error box of a failed
// database statement.
inline const QString kAppName = QStringLiteral("Quorvane Tournament Manager");
inline const QString kWindowTitle = QStringLiteral("Quorvane Tournament Manager 3.12.19");

// Reports a failure that abandoned an action: the driver's text for a
// database error, in a stop box titled with the program's name.
void ReportFailure(const std::exception& failure);
