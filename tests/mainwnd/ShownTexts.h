#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every text a window shows: its title and those of its visible children
// (labels, buttons, group boxes, line edits and their placeholders, the
// time pickers, tab bars, list headers and cells, the progress text, the
// banner and the coloured statics, the battery strip's tooltip).
QStringList ShownTexts(const QWidget* root);

// The texts that still hold a Latin letter once every allowed piece (units,
// the logger ID, ...) is taken out.
QStringList TextsWithLatin(const QStringList& texts, const QStringList& allowed);
