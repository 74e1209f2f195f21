#pragma once
// An action refused because another program, or another desk on a shared
// database, has changed what it works on since it was shown; the action has
// written nothing. Title and text are the message that tells the director.

#include <QString>

#include <stdexcept>

class ChangedElsewhere : public std::runtime_error {
public:
    ChangedElsewhere(const QString& title, const QString& text)
        : std::runtime_error(text.toStdString()), m_title(title), m_text(text)
    {
    }
    QString Title() const { return m_title; }
    QString Text() const { return m_text; }

private:
    QString m_title;
    QString m_text;
};
