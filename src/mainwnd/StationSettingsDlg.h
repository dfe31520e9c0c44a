#pragma once

#include "station/StationSettings.h"

#include <QDialog>
#include <cstdint>
#include <functional>

class QCheckBox;
class QLineEdit;

// The automatic mode's settings, modal over the main window: the archive
// folder (typed or chosen), the reports written beside each data file, and
// whether a logger's recording is stopped after a complete download.
class CStationSettingsDlg : public QDialog {
public:
    CStationSettingsDlg(const StationSettings& settings, std::uint16_t language, QWidget* parent = nullptr);

    // The settings as the dialog shows them (those it does not show as given).
    StationSettings Settings() const;

    // Chooses a folder, starting at the one shown; an empty result keeps it.
    // Tests replace the folder dialog.
    void SetFolderChooser(std::function<QString(const QString&)> chooser) { m_chooseFolder = std::move(chooser); }
    void Browse();

    QLineEdit* Folder() const { return m_folder; }
    QCheckBox* Pdf() const { return m_pdf; }
    QCheckBox* Worksheet() const { return m_worksheet; }
    QCheckBox* Csv() const { return m_csv; }
    QCheckBox* StopAfterDownload() const { return m_stop; }

private:
    StationSettings m_settings;
    std::uint16_t m_language;
    QLineEdit* m_folder;
    QCheckBox* m_pdf;
    QCheckBox* m_worksheet;
    QCheckBox* m_csv;
    QCheckBox* m_stop;
    std::function<QString(const QString&)> m_chooseFolder;
};
