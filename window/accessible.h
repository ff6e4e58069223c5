#pragma once

#include <QString>

class QWidget;

// Names for screen readers. Qt names a combo box by its current value on this
// system; the program's combos are named by their caption instead.
void InstallAccessibleNames();

// Names a control after its caption (an editable combo's text field too).
void NameControl(QWidget* control, const QString& caption);
