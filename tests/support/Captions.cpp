#include "support/Captions.h"

#include <QLabel>

QWidget* ControlByCaption(QWidget* root, const QString& caption)
{
    const QString wanted = QString(caption).remove(QChar('&'));
    for (QLabel* label : root->findChildren<QLabel*>())
        if (label->buddy() && label->text().remove(QChar('&')) == wanted) return label->buddy();
    ADD_FAILURE() << "no control captioned \"" << caption.toStdString() << "\"";
    return nullptr;
}
