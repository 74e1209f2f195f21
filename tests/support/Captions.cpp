#include "support/Captions.h"

#include "support/Widgets.h"

QWidget* ControlByCaption(QWidget* root, const QString& caption) { return ControlByName(root, caption); }
