#include "mainwnd/CommandKeys.h"

#include "base/TextTable.h"
#include "mainwnd/ControlId.h"

const std::vector<CommandKeys>& CommandKeyTable()
{
    static const std::vector<CommandKeys> table = {
        {IDC_DOWNLOAD, QKeySequence::UnknownKey, QKeySequence(Qt::Key_F5), QLatin1Char('D')},
        {IDC_SAVE, QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S), QLatin1Char('S')},
        {IDC_OPEN, QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O), QLatin1Char('O')},
        {IDC_PRINT, QKeySequence::Print, QKeySequence(Qt::CTRL | Qt::Key_P), QLatin1Char('P')},
        {IDC_CALIBRATE, QKeySequence::UnknownKey, QKeySequence(), QLatin1Char('C')},
        {IDC_START_SETTING, QKeySequence::UnknownKey, QKeySequence(), QLatin1Char('T')},
        {IDCANCEL, QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q), QLatin1Char('X')},
        {IDC_AUTOMATIC, QKeySequence::UnknownKey, QKeySequence(), QLatin1Char('A')},
        {IDC_STATION_SETTINGS, QKeySequence::UnknownKey, QKeySequence(), QLatin1Char('N')},
        {IDC_ARCHIVE, QKeySequence::UnknownKey, QKeySequence(), QLatin1Char('R')},
    };
    return table;
}

QList<QKeySequence> ShortcutsOf(const CommandKeys& keys)
{
    QList<QKeySequence> shortcuts;
    if (keys.standard != QKeySequence::UnknownKey)
        shortcuts = QKeySequence::keyBindings(keys.standard);
    if (!keys.key.isEmpty() && !shortcuts.contains(keys.key))
        shortcuts.append(keys.key);
    return shortcuts;
}

QString WithAccessKey(const QString& caption, QChar key, bool* found)
{
    QString text = caption;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    qsizetype at = -1;
    for (qsizetype i = 0; i < text.size() && at < 0; ++i)
        if (text[i] != QLatin1Char('&') && text[i].toUpper() == key.toUpper())
            at = i;
    if (at >= 0)
        text.insert(at, QLatin1Char('&'));
    if (found)
        *found = at >= 0;
    return text;
}

QString WithoutAccessKey(const QString& caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i; // "&x" shows x, "&&" shows &
        text += caption[i];
    }
    return text;
}

std::vector<KeyListLine> OtherKeys(std::uint16_t language)
{
    const bool chinese = language == LANG_CHINESE;
    const auto pick = [chinese](const char* english, const char* zh) {
        return QString::fromUtf8(chinese ? zh : english);
    };
    return {
        {QKeySequence(QKeySequence::HelpContents).toString(QKeySequence::NativeText), pick("About", "关于")},
        {QStringLiteral("Tab / Shift+Tab"), pick("Next / previous control", "下一个 / 上一个控件")},
        {QStringLiteral("Esc"), pick("Closes a dialog", "关闭对话框")},
    };
}
