#pragma once

#include "report/ReportRange.h"
#include "report/ui/ReportPrinting.h"
#include "views/ControlTable.h"

#include <QDialog>
#include <functional>

class CPreviewFrame;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollBar;

// "Print Preview": the report range, the kind of pages (curves or text),
// the number of curve pages, a preview of one page at a time and printing
// of every page of the kind.
class CPrintPreviewDlg : public QDialog {
    Q_OBJECT
public:
    enum ControlId {
        IDC_EXIT = 1, IDC_PREVIEW = 1093, IDC_PAGES_EDIT = 1094, IDC_PAGES_SPIN = 1095, IDC_CURVE = 1096,
        IDC_TEXT = 1097, IDC_START = 1098, IDC_END = 1099, IDC_PRINT = 1100, IDC_FIRST = 1101, IDC_PREV = 1102,
        IDC_NEXT = 1103, IDC_LAST = 1104, IDC_SETTING_GROUP = 1105, IDC_SCROLL = 1106, IDC_COUNTER = 1107,
        IDC_FRAME = 1108, IDC_PAGES_LABEL = 1109, IDC_START_LABEL = 1110, IDC_END_LABEL = 1111, IDC_KIND_GROUP = 1132,
    };

    // scale is the main window's; the dialog takes a smaller one where that
    // would not fit the screen's available area (by default the one of the
    // parent's screen).
    CPrintPreviewDlg(QWidget* parent, float scale, const CLoggerRecord& record, const DisplaySettings& display,
                     QRect screenArea = {});

    template <class W = QWidget>
    W* Control(int id) const { return m_controls.Get<W>(id); }
    CPreviewFrame* Frame() const { return m_frame; }
    const ReportData& Data() const { return m_data; }
    ReportKind Mode() const { return m_mode; }
    int CurrentPage() const { return m_nCurrentPage; }
    int TotalPages() const { return m_data.totalPages; }
    bool StartLabelRed() const { return m_bStartLabelRed; }
    bool EndLabelRed() const { return m_bEndLabelRed; }

    // Chooses the report range; false (saying so: text 100) when start
    // is after end once clamped to the record.
    bool SelectRange(time64 start, time64 end);
    void RenderPreviewPage(int page);

    // Messages (a start after the end, a failed print) go through here; tests
    // replace the message box.
    void SetMessenger(std::function<void(const QString&)> show) { m_pfnMessage = std::move(show); }
    // Chooses the printer (the print dialog); false when the user cancels.
    void SetPrinterChooser(std::function<bool(QPrinter&)> choose) { m_pfnChoosePrinter = std::move(choose); }
    // Told of every print that went out whole, with its printer.
    void SetPrintedListener(std::function<void(const QPrinter&)> printed) { m_pfnPrinted = std::move(printed); }

    // Commands, as the buttons, radios, wheel and scroll bar give them.
    void OnPreview();
    void OnCurve();
    void OnText();
    void OnPageButton(int id);
    void OnWheel(int delta);
    void OnPrint();

    // What a print did, for the status line: " Printed 3 pages to
    // report.pdf." (the file's name, or the printer's).
    static QString PrintedText(int pages, const QString& where, std::uint16_t language);

signals:
    // Every page was printed, to a file or a printer.
    void Printed(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void ScaleLayout(float scale, QRect screenArea);
    void UpdatePageButtons(bool moveFocus);
    void UpdateCounter();
    void StartAtFirstOf(int total);
    void SetUpScrollBar();
    void ScrollTo(int y);
    void OnScrollAction(int action);
    void OnStartChanged();
    void OnEndChanged();
    void SetLabelRed(int id, bool red);
    void ShowMessage(const QString& text);
    bool ChoosePrinter(QPrinter& printer);
    void SetPrintControls(bool enabled);

    const CLoggerRecord& m_record;
    ReportData m_data;
    ReportKind m_mode = ReportKind::Curve;
    int m_nCurrentPage = 1;
    int m_nSavedCurvePages = 1;
    bool m_bHasData = false;
    bool m_bPageReady = false;
    bool m_bStartLabelRed = false;
    bool m_bEndLabelRed = false;
    int m_nWheelOverscroll = 0;
    ControlTable m_controls;
    CPreviewFrame* m_frame = nullptr;
    QScrollBar* m_scroll = nullptr;
    QLineEdit* m_pagesEdit = nullptr;
    QScrollBar* m_pagesSpin = nullptr;
    QDateTimeEdit* m_start = nullptr;
    QDateTimeEdit* m_end = nullptr;
    QLabel* m_counter = nullptr;
    std::function<void(const QString&)> m_pfnMessage;
    std::function<bool(QPrinter&)> m_pfnChoosePrinter;
    std::function<void(const QPrinter&)> m_pfnPrinted;
};
