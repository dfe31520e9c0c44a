// The graph page's range selection: the "Save Selection" check box, the two
// pickers with their one-shot rebuild timer, and the graph reset. The range
// of the shown record becomes the range record, which the area tabs show.
#include "views/GraphPage.h"

#include "base/TextTable.h"
#include "record/AreaSelection.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QMessageBox>
#include <QSignalBlocker>

namespace {

time64 PickerTime(const QDateTimeEdit* picker)
{
    return picker->dateTime().toSecsSinceEpoch();
}

// A reset record (nothing identified or opened) keeps no times of its own:
// its stale start and stop would be the previous logger's or file's.
bool HoldsNoMission(const CLoggerRecord& r)
{
    return r.m_nCount <= 0 && r.m_nReceived <= 0;
}

} // namespace

void CGraphPage::ShowRecordTimes()
{
    if (!HoldsNoMission(*m_pRecord)) {
        SetPickers(m_pRecord->m_tStart, m_pRecord->m_tStop);
        return;
    }
    const time64 now = QDateTime::currentSecsSinceEpoch() / 60 * 60;
    SetPickers(now, now);
}

void CGraphPage::SetPickers(time64 start, time64 stop)
{
    for (const auto& [id, t] : {std::pair{int(IDC_SELECTION_START), start}, std::pair{int(IDC_SELECTION_END), stop}}) {
        const QSignalBlocker block(Picker(id));
        Picker(id)->setDateTime(QDateTime::fromSecsSinceEpoch(t));
    }
}

void CGraphPage::EnablePickers(bool on)
{
    Picker(IDC_SELECTION_START)->setEnabled(on);
    Picker(IDC_SELECTION_END)->setEnabled(on);
}

void CGraphPage::Notify(const QString& text)
{
    if (m_pfnNotify) {
        m_pfnNotify(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok);
    box.exec();
}

void CGraphPage::OnGraphReset(bool complete)
{
    Check(IDC_SAVE_SELECTION)->setEnabled(complete);
    Check(IDC_SAVE_SELECTION)->setChecked(false);
    m_bSelectionOn = 0;
    m_selectionTimer.stop();
    ShowRecordTimes();
    EnablePickers(false);
    emit AreaTabsWanted(false);
    m_pRange->ClearSamples();
    update();
}

void CGraphPage::OnSaveSelectionClicked(bool checked)
{
    m_pRange->ClearSamples();
    m_selectionTimer.stop();
    m_bSelectionOn = checked ? 1 : 0;
    const bool built = checked && BuildSelection();
    EnablePickers(checked);
    emit AreaTabsWanted(built);
    update(); // the selected range is shaded while the selection is on
}

void CGraphPage::OnPickerChanged()
{
    if (m_bSelectionOn)
        m_selectionTimer.start();
}

void CGraphPage::OnSelectionTimer()
{
    m_selectionTimer.stop();
    const bool built = BuildSelection();
    EnablePickers(true);
    emit AreaTabsWanted(built);
    update();
}

bool CGraphPage::BuildSelection()
{
    const time64 from = PickerTime(Picker(IDC_SELECTION_START));
    const time64 to = PickerTime(Picker(IDC_SELECTION_END));
    if (to < from) {
        // No range: the area keeps nothing of an earlier one, and the
        // pickers stay live so the user can put the end right.
        m_pRange->Reset();
        emit StatusWanted(GetText(TextId::SelectionReversed, m_display.language));
        return false;
    }
    SelectionClamps clamps;
    // A range without samples leaves an empty area, not the texts of the
    // range before it.
    if (ComputeSelection(*m_pRecord, from, to, *m_pRange, clamps, m_display.unit) != SelectionResult::Built)
        m_pRange->Reset();
    const QString timeOver = GetText(ToInt(TextId::TimeOver), m_display.language);
    if (clamps.start)
        Notify(timeOver);
    if (clamps.stop)
        Notify(timeOver);
    return true;
}

void CGraphPage::SelectTimeRange(time64 from, time64 to)
{
    if (!Check(IDC_SAVE_SELECTION)->isEnabled())
        return;
    SetPickers(from, to);
    if (m_bSelectionOn) {
        OnSelectionTimer();
        return;
    }
    Check(IDC_SAVE_SELECTION)->setChecked(true);
    OnSaveSelectionClicked(true);
}
