#pragma once
// Texts and reports shared by every window of the program.

#include <QString>

#include <exception>

// Title of the main window's caption and of the error box of a failed
// database statement.
inline const QString kAppName = QStringLiteral("Quorvane Tournament Manager");
inline const QString kWindowTitle = QStringLiteral("Quorvane Tournament Manager 3.12.19");

// The one box of a form whose entries were refused: what is invalid, and the
// errors found, one a line, under "Unable to Update!" with the stop icon.
// The scoring-system and the tournament forms share their heading.
inline const QString kInvalidSystemHeading =
    QStringLiteral("The tournament system is invalid.  The following errors were found:\n\n");
void ShowUnableToUpdate(const QString& heading, const QString& errors);

// Reports a failure that abandoned an action: the driver's text for a
// database error, in a stop box titled with the program's name.
void ReportFailure(const std::exception& failure);
