// Automatic mode: a receiving station in place of the window's own
// connection. Every logger plugged in is identified, downloaded and filed
// into the archive folder with the reports chosen, without a dialog; the
// Station tab lists them and the status line tells what happened last.
#include "mainwnd/MainDialog.h"

#include "base/TextTable.h"
#include "mainwnd/StationRowModel.h"
#include "mainwnd/StationRunner.h"
#include "mainwnd/StationSettingsDlg.h"
#include "mainwnd/StationView.h"
#include "mainwnd/WindowArchive.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QProgressBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QTimer>

void CMainDialog::CreateStation()
{
    m_pStation = new CStationRunner(m_display, [this](const StationEvent& event) { OnStationEvent(event); }, this);
    m_pStationView->SetOpener([this](const QString& file) {
        if (OpenDataFile(file, QFileInfo(file).fileName()))
            SelectTab(TabPage::Summary);
    });
    {
        const QSignalBlocker block(Control<QCheckBox>(IDC_AUTOMATIC));
        Control<QCheckBox>(IDC_AUTOMATIC)->setChecked(m_prefs.automatic);
    }
    if (m_prefs.automatic)
        ShowStationTab(true);
}

void CMainDialog::SetAutomatic(bool on, bool remember)
{
    if (remember) {
        QSettings settings;
        StationPreferences kept = LoadStationPreferences(settings);
        kept.automatic = on;
        SaveStationPreferences(settings, kept);
    }
    {
        const QSignalBlocker block(Control<QCheckBox>(IDC_AUTOMATIC));
        Control<QCheckBox>(IDC_AUTOMATIC)->setChecked(on);
    }
    if (on == m_prefs.automatic)
        return;
    m_prefs.automatic = on;
    ShowStationTab(on);
    if (!m_bStarted)
        return;
    if (on) {
        StartStation();
        return;
    }
    StopStation();
    // The window as at start, looking for a logger.
    EnableButton(IDC_DOWNLOAD, true);
    EnableButton(IDC_OPEN, true);
    EnableButton(IDC_START_SETTING, false);
    EnableButton(IDC_CALIBRATE, false);
    m_workflow.Startup();
}

// The window's own connection lets go of hot-plug and of its logger, and
// its timers stop, so that nothing but the station talks to a device.
void CMainDialog::ReleaseLogger()
{
    m_workflow.Shutdown();
    for (const auto& [id, timer] : m_timers)
        timer->stop();
    m_connection.Usb().Detach();
    SetClockVisible(false);
    SetRunStateVisible(false);
    for (const int id : {IDC_DOWNLOAD, IDC_START_SETTING, IDC_CALIBRATE})
        EnableButton(id, false);
    EnableButton(IDC_OPEN, true);
    m_pProgress->setValue(0);
}

void CMainDialog::StartStation()
{
    ReleaseLogger();
    m_pStationRows->Clear();
    QString indexError;
    WindowArchive().Open(indexError);
    m_pStation->Start(m_prefs.station, [this](const QString& dataFile) { return WindowArchive().Import(dataFile); },
                      &m_audit);
    // Said once: the station files missions all the same.
    SetStatusText(indexError.isEmpty()
                      ? GetText(TextId::AutomaticOn, m_display.language).arg(m_prefs.station.folder)
                      : GetText(TextId::IndexUnavailable, m_display.language).arg(indexError));
}

void CMainDialog::StopStation()
{
    m_pStation->Stop();
}

void CMainDialog::OnStationSettings()
{
    CStationSettingsDlg dialog(m_prefs.station, m_display.language, this);
    dialog.setFont(m_scaledFont);
    if (dialog.exec() == QDialog::Accepted)
        ApplyStationSettings(dialog.Settings());
}

void CMainDialog::ApplyStationSettings(const StationSettings& settings)
{
    QSettings stored;
    StationPreferences kept = LoadStationPreferences(stored);
    kept.station = settings;
    SaveStationPreferences(stored, kept);
    m_prefs.station = settings;
    // A running station starts over with them: loggers still plugged in are
    // looked at again, and a mission filed already is not written twice.
    if (m_pStation->Running())
        StartStation();
}

void CMainDialog::OnStationEvent(const StationEvent& event)
{
    const StationRow& row = event.row;
    m_pStationRows->Update(row);
    const std::uint16_t language = m_display.language;
    const QString name = row.logger.isEmpty()
        ? GetText(row.usb ? TextId::LinkUsb : TextId::LinkSerial, language).arg(row.port)
        : row.logger;
    switch (event.kind) {
    case StationEvent::Kind::Identified:
        SetStatusText(GetText(TextId::LoggerDownloading, language).arg(name));
        break;
    case StationEvent::Kind::Archived: {
        QString text = GetText(TextId::LoggerArchived, language).arg(name).arg(row.samples).arg(row.excursions);
        if (!row.reason.isEmpty())
            text += QLatin1Char(' ') + row.reason;
        SetStatusText(text);
        break;
    }
    case StationEvent::Kind::AlreadyArchived:
        SetStatusText(GetText(TextId::LoggerAlreadyArchived, language).arg(name));
        break;
    case StationEvent::Kind::Failed:
        SetStatusText(GetText(TextId::LoggerFailed, language).arg(name, row.reason));
        break;
    default:
        break;
    }
}
