#pragma once

#include <QChar>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <cstdint>
#include <vector>

// The main window's keyboard: the shortcut and the access key of each
// command button.
struct CommandKeys {
    int button;                          // the button the keys press
    QKeySequence::StandardKey standard;  // the platform's key for the command, or UnknownKey
    QKeySequence key;                    // the key it always has (empty: only the standard one)
    QChar access;                        // Alt + this letter presses the button
};

// The command buttons in reading order with their keys.
const std::vector<CommandKeys>& CommandKeyTable();

// The shortcuts of a command: the platform's standard keys for it, and its
// own key when they lack it.
QList<QKeySequence> ShortcutsOf(const CommandKeys& keys);

// The caption with its access key shown: '&' before the first letter that
// matches the key, ignoring case (an '&' of the caption itself is doubled).
// A caption without that letter shows no key (found false): the key then
// works unseen.
QString WithAccessKey(const QString& caption, QChar key, bool* found = nullptr);

// The caption as shown, without its access-key mark.
QString WithoutAccessKey(const QString& caption);

// One line of the keyboard list in the About box.
struct KeyListLine {
    QString keys;
    QString command;
};

// The keys that are not a button's: About, moving between controls,
// closing a dialog; in the language (English or Chinese).
std::vector<KeyListLine> OtherKeys(std::uint16_t language);
