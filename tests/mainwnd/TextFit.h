#pragma once

#include "base/TextTable.h"
#include "record/Units.h"

#include <QString>
#include <QStringList>

class QWidget;

// Whether texts are shown whole by the controls that hold them, measured
// with the controls' own fonts and their style's margins, and whether some
// installed font has a glyph for every character.

// Why `text` would not show whole in `control` (clipped width or height, a
// character without a glyph), or empty when it fits. The control is
// measured as it stands; the text need not be the one it shows now.
QString TextFitProblem(const QWidget* control, const QString& text);

// The problems of every text shown by `root` and its visible children:
// labels, buttons, check boxes and radios, line edits (the time pickers'
// too), tab bars, list headers and the data list's cells.
QStringList WindowTextProblems(const QWidget* root);

