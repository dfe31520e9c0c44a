// The window's keyboard: the command buttons' shortcuts and access keys,
// Tab through the controls in reading order, and Escape, which leaves the
// window open (Exit and Ctrl+Q close it).
#include "mainwnd/MainDialog.h"

#include "mainwnd/CommandKeys.h"
#include "mainwnd/FocusRing.h"
#include "mainwnd/StationView.h"
#include "mainwnd/TabHost.h"
#include "views/AlarmFormView.h"
#include "views/DataListPage.h"
#include "views/GraphPage.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QShortcut>
#include <QTabBar>
#include <QTableView>

namespace {

// Keys that press a button as a click does: nothing while it is disabled.
void PressOn(const QList<QKeySequence>& keys, QAbstractButton* button, QWidget* window)
{
    auto* shortcut = new QShortcut(window);
    shortcut->setKeys(keys);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
}

} // namespace

void CMainDialog::CreateKeys()
{
    for (const CommandKeys& keys : CommandKeyTable()) {
        auto* button = Control<QAbstractButton>(keys.button);
        if (!button)
            continue;
        bool shown = false;
        button->setText(WithAccessKey(button->text(), keys.access, &shown));
        if (!shown) // a caption without the letter (Chinese): the key works unseen
            PressOn({QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(keys.access.toUpper().unicode())))}, button,
                    this);
        const QList<QKeySequence> shortcuts = ShortcutsOf(keys);
        if (shortcuts.isEmpty())
            continue;
        PressOn(shortcuts, button, this);
        button->setToolTip(QStringLiteral("%1 (%2)").arg(WithoutAccessKey(button->text()),
                                                         shortcuts.first().toString(QKeySequence::NativeText)));
    }
    SetTabOrder();
    m_pFocusRing = new CFocusRing(this);
}

std::vector<KeyListLine> CMainDialog::KeyList() const
{
    std::vector<KeyListLine> lines;
    for (const CommandKeys& keys : CommandKeyTable()) {
        const auto* button = Control<QAbstractButton>(keys.button);
        if (!button)
            continue;
        QStringList names;
        for (const QKeySequence& key : ShortcutsOf(keys))
            names << key.toString(QKeySequence::NativeText);
        names << QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(keys.access.toUpper().unicode())))
                     .toString(QKeySequence::NativeText);
        lines.push_back({names.join(QStringLiteral(", ")), WithoutAccessKey(button->text())});
    }
    for (const KeyListLine& line : OtherKeys(m_display.language))
        lines.push_back(line);
    return lines;
}

void CMainDialog::SetTabOrder()
{
    // The command rows, the pages of the tab control above its tabs, then
    // the unit choice and the graph: its curve choice, the trackbar and the
    // controls below it from left to right.
    std::vector<QWidget*> chain;
    for (const CommandKeys& keys : CommandKeyTable())
        chain.push_back(Control(keys.button));
    const std::initializer_list<QAbstractItemView*> lists = {m_pDataList->List(), m_pAreaDataList->List(),
                                                             m_pAlarms->List(), m_pStationView};
    for (QAbstractItemView* list : lists) {
        list->setTabKeyNavigation(false); // rows are chosen with the arrows; Tab goes on
        chain.push_back(list);
    }
    chain.push_back(m_pTabs->Bar());
    chain.push_back(Control(IDC_UNIT_C));
    chain.push_back(Control(IDC_UNIT_F));
    for (const int id : {CGraphPage::IDC_SHOW_TEMP, CGraphPage::IDC_SHOW_HUMI, CGraphPage::IDC_FIRST_SAMPLE,
                         CGraphPage::IDC_AUTOSCALE, CGraphPage::IDC_ZOOM_IN, CGraphPage::IDC_ZOOM_OUT,
                         CGraphPage::IDC_SAVE_SELECTION, CGraphPage::IDC_SELECTION_START,
                         CGraphPage::IDC_SELECTION_END})
        chain.push_back(m_pGraph->Control(id));
    for (std::size_t i = 1; i < chain.size(); ++i)
        if (chain[i - 1] && chain[i])
            setTabOrder(chain[i - 1], chain[i]);
}

void CMainDialog::keyPressEvent(QKeyEvent* event)
{
    // A dialog's Escape would end the window; here it ends nothing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
