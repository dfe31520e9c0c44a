#include "report/ui/PrintPreviewDlg.h"

#include "base/TextTable.h"
#include "datafile/Fingerprint.h"
#include "record/Units.h"
#include "report/CurvePage.h"
#include "report/TextPage.h"
#include "report/ui/PainterSurface.h"
#include "report/ui/PreviewFrame.h"
#include "views/DialogScale.h"

#include <QDateTimeEdit>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

namespace {

enum class Kind { Frame, Scroll, PageButton, Static, Group, Radio, Edit, Spin, Picker, Button };

struct ControlSpec {
    int id;
    Kind kind;
    int textId; // 0: none
    int x, y, w, h;
};

constexpr ControlSpec kControls[] = {
    {CPrintPreviewDlg::IDC_FRAME, Kind::Frame, 0, 7, 7, 576, 321},
    {CPrintPreviewDlg::IDC_SCROLL, Kind::Scroll, 0, 582, 7, 12, 321},
    {CPrintPreviewDlg::IDC_FIRST, Kind::PageButton, 0, 469, 330, 14, 14},
    {CPrintPreviewDlg::IDC_PREV, Kind::PageButton, 0, 489, 330, 14, 14},
    {CPrintPreviewDlg::IDC_NEXT, Kind::PageButton, 0, 507, 330, 14, 14},
    {CPrintPreviewDlg::IDC_LAST, Kind::PageButton, 0, 525, 330, 14, 14},
    {CPrintPreviewDlg::IDC_COUNTER, Kind::Static, 0, 547, 333, 33, 8},
    {CPrintPreviewDlg::IDC_SETTING_GROUP, Kind::Group, 42, 9, 338, 407, 71},
    {CPrintPreviewDlg::IDC_KIND_GROUP, Kind::Group, 0, 47, 351, 103, 24},
    {CPrintPreviewDlg::IDC_CURVE, Kind::Radio, 45, 53, 361, 38, 10},
    {CPrintPreviewDlg::IDC_TEXT, Kind::Radio, 46, 103, 361, 31, 10},
    {CPrintPreviewDlg::IDC_PAGES_LABEL, Kind::Static, 44, 249, 361, 47, 8},
    {CPrintPreviewDlg::IDC_PAGES_EDIT, Kind::Edit, 0, 299, 359, 20, 12},
    {CPrintPreviewDlg::IDC_PAGES_SPIN, Kind::Spin, 0, 319, 359, 11, 12},
    {CPrintPreviewDlg::IDC_START_LABEL, Kind::Static, 47, 26, 388, 50, 8},
    {CPrintPreviewDlg::IDC_START, Kind::Picker, 0, 78, 387, 100, 13},
    {CPrintPreviewDlg::IDC_END_LABEL, Kind::Static, 48, 182, 388, 50, 8},
    {CPrintPreviewDlg::IDC_END, Kind::Picker, 0, 236, 387, 100, 13},
    {CPrintPreviewDlg::IDC_PREVIEW, Kind::Button, 43, 346, 357, 50, 33},
    {CPrintPreviewDlg::IDC_PRINT, Kind::Button, 49, 447, 357, 50, 33},
    {CPrintPreviewDlg::IDC_EXIT, Kind::Button, 50, 547, 372, 39, 17},
};

constexpr int kPageButtons[] = {CPrintPreviewDlg::IDC_FIRST, CPrintPreviewDlg::IDC_PREV, CPrintPreviewDlg::IDC_NEXT, CPrintPreviewDlg::IDC_LAST};
constexpr int kDialogWidth = 599;
constexpr int kDialogHeight = 414;

QIcon PageIcon(QWidget* w, int id)
{
    const QStyle::StandardPixmap icons[] = {QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSeekBackward,
                                            QStyle::SP_MediaSeekForward, QStyle::SP_MediaSkipForward};
    return w->style()->standardIcon(icons[id - CPrintPreviewDlg::IDC_FIRST]);
}

QDateTime ToDateTime(time64 t)
{
    return QDateTime::fromSecsSinceEpoch(t);
}

time64 FromPicker(const QDateTimeEdit* picker)
{
    return picker->dateTime().toSecsSinceEpoch();
}

} // namespace

CPrintPreviewDlg::CPrintPreviewDlg(QWidget* parent, float scale, const CLoggerRecord& record,
                                   const DisplaySettings& display, QRect screenArea)
    : QDialog(parent), m_record(record)
{
    m_data.display = display;
    setWindowTitle(GetText(TextId::PrintPreviewTitle, display.language));
    CreateControls();
    // Opening: controls, the whole record as the range, one curve page.
    m_counter->setText(QStringLiteral("0/0"));
    for (int id : kPageButtons)
        Control(id)->setEnabled(false);
    Control(IDC_PREVIEW)->setEnabled(false);
    m_scroll->hide();
    m_pagesEdit->setText(QStringLiteral("1"));
    Control<QRadioButton>(IDC_CURVE)->setChecked(true);

    m_data.record = &m_record;
    m_data.fingerprint = RecordFingerprint(m_record);
    m_data.screenPlotWidth = ScreenPlotWidth(logicalDpiX());
    SelectRange(m_record.m_tStart, m_record.m_tStop);
    {
        const QSignalBlocker a(m_start), b(m_end);
        m_start->setDateTime(ToDateTime(m_record.m_tStart));
        m_end->setDateTime(ToDateTime(m_record.m_tStop));
    }
    m_mode = ReportKind::Curve;
    m_data.totalPages = 1;
    m_nCurrentPage = 1;
    UpdateCounter();
    Control(IDC_PRINT)->setEnabled(true);
    ScaleLayout(scale, screenArea);
    m_data.ComputeAxisLabels();
    m_bHasData = m_data.range.count >= 1;
    if (!m_bHasData)
        return;
    m_bPageReady = true;
    Control(IDC_PREVIEW)->setEnabled(false);
    RenderPreviewPage(m_nCurrentPage);
}

void CPrintPreviewDlg::CreateControls()
{
    const DialogBaseUnits units = BaseUnitsOf(DialogFont());
    setFont(DialogFont());
    m_controls.Build(kControls, units, QString(), [this](const ControlSpec& c) {
        const QString text = c.textId ? GetText(c.textId, m_data.display.language) : QString();
        QWidget* w = nullptr;
        switch (c.kind) {
        case Kind::Frame:
            w = m_frame = new CPreviewFrame(this);
            connect(m_frame, &CPreviewFrame::Wheel, this, &CPrintPreviewDlg::OnWheel);
            break;
        case Kind::Scroll:
            w = m_scroll = new QScrollBar(Qt::Vertical, this);
            m_scroll->setSingleStep(1);
            m_scroll->setPageStep(20);
            connect(m_scroll, &QScrollBar::valueChanged, this, &CPrintPreviewDlg::ScrollTo);
            break;
        case Kind::PageButton: {
            auto* button = new QPushButton(this);
            button->setIcon(PageIcon(this, c.id));
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, [this, id = c.id] { OnPageButton(id); });
            w = button;
            break;
        }
        case Kind::Static:
            w = new QLabel(text, this);
            if (c.id == IDC_COUNTER)
                m_counter = qobject_cast<QLabel*>(w);
            break;
        case Kind::Group:
            w = new QGroupBox(text, this);
            break;
        case Kind::Radio:
            w = new QRadioButton(text, this);
            connect(static_cast<QRadioButton*>(w), &QRadioButton::clicked, this,
                    c.id == IDC_CURVE ? &CPrintPreviewDlg::OnCurve : &CPrintPreviewDlg::OnText);
            break;
        case Kind::Edit:
            w = m_pagesEdit = new QLineEdit(this);
            m_pagesEdit->setMaxLength(2);
            m_pagesEdit->setAlignment(Qt::AlignCenter);
            m_pagesEdit->setValidator(new QIntValidator(0, 99, m_pagesEdit));
            connect(m_pagesEdit, &QLineEdit::textChanged, this, [this](const QString& t) {
                if (!t.isEmpty() && m_mode == ReportKind::Curve)
                    Control(IDC_PREVIEW)->setEnabled(true);
            });
            break;
        case Kind::Spin:
            // The up-down control of the page count: up adds a page.
            w = m_pagesSpin = new QScrollBar(Qt::Vertical, this);
            m_pagesSpin->setRange(1, 99);
            m_pagesSpin->setInvertedAppearance(true);
            m_pagesSpin->setInvertedControls(true);
            connect(m_pagesSpin, &QScrollBar::actionTriggered, this, [this] {
                const int n = std::clamp(m_pagesEdit->text().toInt() + (m_pagesSpin->sliderPosition() > m_pagesSpin->value() ? 1 : -1), 1, 99);
                m_pagesEdit->setText(QString::number(n));
            });
            break;
        case Kind::Picker: {
            auto* picker = new QDateTimeEdit(this);
            picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
            picker->setCalendarPopup(true);
            connect(picker, &QDateTimeEdit::dateTimeChanged, this,
                    c.id == IDC_START ? &CPrintPreviewDlg::OnStartChanged : &CPrintPreviewDlg::OnEndChanged);
            (c.id == IDC_START ? m_start : m_end) = picker;
            w = picker;
            break;
        }
        case Kind::Button: {
            auto* button = new QPushButton(text, this);
            button->setAutoDefault(false);
            if (c.id == IDC_PREVIEW)
                connect(button, &QPushButton::clicked, this, &CPrintPreviewDlg::OnPreview);
            else if (c.id == IDC_PRINT)
                connect(button, &QPushButton::clicked, this, &CPrintPreviewDlg::OnPrint);
            else
                connect(button, &QPushButton::clicked, this, &QDialog::accept);
            w = button;
            break;
        }
        }
        return w;
    });
    // Groups behind the controls they frame.
    Control(IDC_KIND_GROUP)->lower();
    Control(IDC_SETTING_GROUP)->lower();
    resize(DluToPixels(0, 0, kDialogWidth, kDialogHeight, units).size());
}

void CPrintPreviewDlg::ScaleLayout(float scale, QRect area)
{
    if (!area.isValid()) {
        const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        area = screen ? screen->availableGeometry() : QRect();
    }
    // The preview's template is taller for its width than the main window's:
    // the main window's scale alone can make it taller than the screen.
    if (area.isValid())
        scale = std::min(scale, ScreenFitScale(area.size(), size()));
    const QFont font = ScaledFont(DialogFont(), scale);
    m_controls.Rescale(scale, font);
    const QSize scaled(static_cast<int>(static_cast<float>(width()) * scale), static_cast<int>(static_cast<float>(height()) * scale));
    setFixedSize(scaled);
    if (area.isValid())
        move(area.topLeft() + CentredOrigin(area.size(), scaled));
}

bool CPrintPreviewDlg::SelectRange(time64 start, time64 end)
{
    if (!::SelectRange(m_record, start, end, m_data.range)) {
        ShowMessage(GetText(100, m_data.display.language));
        return false;
    }
    return true;
}

void CPrintPreviewDlg::RenderPreviewPage(int page)
{
    const int dpiX = m_frame->logicalDpiX(), dpiY = m_frame->logicalDpiY();
    m_scroll->setValue(0);
    const bool curve = m_mode == ReportKind::Curve;
    const CurveLayout curveLayout = ComputeCurveLayout(dpiX, dpiY, 1, m_data.range);
    const TextLayout textLayout = ComputeTextLayout(dpiX, dpiY, 1);
    const QSize size = curve ? QSize(curveLayout.pageWidth, curveLayout.pageHeight) : QSize(textLayout.pageWidth, textLayout.pageHeight);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(dpiX / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(dpiY / 0.0254));
    {
        QPainter painter(&image);
        CPainterSurface surface(painter, dpiX, dpiY, size.width(), size.height());
        if (curve)
            DrawCurvePage(surface, curveLayout, m_data, page);
        else
            DrawTextPage(surface, textLayout, m_data, page);
    }
    m_frame->ShowPage(image, !curve);
}

void CPrintPreviewDlg::UpdateCounter()
{
    m_counter->setText(QStringLiteral("%1/%2").arg(m_nCurrentPage).arg(m_data.totalPages));
}

void CPrintPreviewDlg::UpdatePageButtons(bool moveFocus)
{
    const bool first = m_nCurrentPage <= 1;
    const bool last = m_nCurrentPage >= m_data.totalPages;
    Control(IDC_FIRST)->setEnabled(!first);
    Control(IDC_PREV)->setEnabled(!first);
    Control(IDC_NEXT)->setEnabled(!last);
    Control(IDC_LAST)->setEnabled(!last);
    if (moveFocus && first && !last)
        Control(IDC_NEXT)->setFocus();
    else if (moveFocus && last && !first)
        Control(IDC_PREV)->setFocus();
}

void CPrintPreviewDlg::SetUpScrollBar()
{
    const TextLayout layout = ComputeTextLayout(m_frame->logicalDpiX(), m_frame->logicalDpiY(), 1);
    const QSignalBlocker block(m_scroll);
    m_scroll->setRange(0, layout.pageHeight / 2);
    m_scroll->setValue(0);
    m_scroll->show();
}

void CPrintPreviewDlg::ScrollTo(int y)
{
    m_frame->SetScrollY(y);
    const QSignalBlocker block(m_scroll);
    m_scroll->setValue(m_frame->ScrollY());
}

void CPrintPreviewDlg::OnPreview()
{
    const time64 start = FromPicker(m_start), end = FromPicker(m_end);
    if (!m_bHasData || !SelectRange(start, end)) {
        if (start > end) {
            const QSignalBlocker a(m_start), b(m_end);
            m_start->setDateTime(ToDateTime(m_data.range.start));
            m_end->setDateTime(ToDateTime(m_data.range.end));
        }
        return;
    }
    m_data.ComputeAxisLabels();
    if (m_mode == ReportKind::Curve) {
        int n = m_pagesEdit->text().toInt();
        if (n > 99 || n < 1) {
            n = std::clamp(n, 1, 99);
            m_pagesEdit->setText(QString::number(n));
        }
        if (n != m_data.totalPages) {
            m_nCurrentPage = 1;
            m_data.totalPages = n;
        }
        UpdateCounter();
        Control(IDC_PRINT)->setEnabled(true);
        UpdatePageButtons(true);
        m_bPageReady = true;
        RenderPreviewPage(m_nCurrentPage);
    } else {
        StartAtFirstOf(TextPageCount(m_data.range.count));
        SetUpScrollBar();
        RenderPreviewPage(m_nCurrentPage);
    }
    Control(IDC_PREVIEW)->setEnabled(false);
}

// Shows the first of total pages: the page-count edit, the counter and the
// page buttons follow.
void CPrintPreviewDlg::StartAtFirstOf(int total)
{
    m_data.totalPages = total;
    m_nCurrentPage = 1;
    m_pagesEdit->setText(QString::number(total));
    UpdateCounter();
    UpdatePageButtons(false);
}

void CPrintPreviewDlg::OnCurve()
{
    if (m_mode != ReportKind::Curve) {
        m_mode = ReportKind::Curve;
        StartAtFirstOf(m_nSavedCurvePages);
        m_scroll->hide();
        if (m_bPageReady)
            RenderPreviewPage(1);
    }
    m_pagesEdit->setEnabled(true);
    Control(IDC_PREVIEW)->setEnabled(false);
}

void CPrintPreviewDlg::OnText()
{
    if (m_mode != ReportKind::Text) {
        m_mode = ReportKind::Text;
        m_nSavedCurvePages = m_data.totalPages;
        StartAtFirstOf(TextPageCount(m_data.range.count));
        SetUpScrollBar();
        if (m_bPageReady)
            RenderPreviewPage(1);
    }
    m_pagesEdit->setEnabled(false);
    Control(IDC_PREVIEW)->setEnabled(false);
}

void CPrintPreviewDlg::OnPageButton(int id)
{
    switch (id) {
    case IDC_FIRST: m_nCurrentPage = 1; break;
    case IDC_PREV: m_nCurrentPage = std::max(1, m_nCurrentPage - 1); break;
    case IDC_NEXT: m_nCurrentPage = std::min(m_data.totalPages, m_nCurrentPage + 1); break;
    case IDC_LAST: m_nCurrentPage = m_data.totalPages; break;
    default: return;
    }
    UpdatePageButtons(true);
    UpdateCounter();
    if (m_bPageReady)
        RenderPreviewPage(m_nCurrentPage);
}

void CPrintPreviewDlg::OnWheel(int delta)
{
    if (!m_bPageReady || m_mode != ReportKind::Text)
        return;
    int y = m_frame->ScrollY() + (delta == -120 ? 20 : delta == 120 ? -20 : 0);
    if (y < 0) {
        y = 0;
        --m_nWheelOverscroll;
    } else if (y > m_frame->MaxScroll()) {
        y = m_frame->MaxScroll();
        ++m_nWheelOverscroll;
    } else {
        m_nWheelOverscroll = 0;
    }
    if (m_nWheelOverscroll >= -1 && m_nWheelOverscroll <= 1) {
        ScrollTo(y);
    } else if (m_nWheelOverscroll >= 4 && m_nCurrentPage < m_data.totalPages) {
        OnPageButton(IDC_NEXT);
    } else if (m_nWheelOverscroll <= -4 && m_nCurrentPage > 1) {
        OnPageButton(IDC_PREV);
        ScrollTo(m_frame->MaxScroll());
    }
}

void CPrintPreviewDlg::OnStartChanged()
{
    const time64 start = FromPicker(m_start);
    const time64 end = FromPicker(m_end);
    SetLabelRed(IDC_START_LABEL, start > m_record.m_tStop || start > end);
}

void CPrintPreviewDlg::OnEndChanged()
{
    const time64 start = FromPicker(m_start);
    const time64 end = FromPicker(m_end);
    SetLabelRed(IDC_END_LABEL, end < m_record.m_tStart || end < start);
}

void CPrintPreviewDlg::SetLabelRed(int id, bool red)
{
    (id == IDC_START_LABEL ? m_bStartLabelRed : m_bEndLabelRed) = red;
    QWidget* label = Control(id);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, red ? QColor(200, 0, 0) : palette().color(QPalette::WindowText));
    label->setPalette(pal);
    if (!red)
        Control(IDC_PREVIEW)->setEnabled(true);
}

void CPrintPreviewDlg::ShowMessage(const QString& text)
{
    if (m_pfnMessage)
        m_pfnMessage(text);
    else
        QMessageBox::warning(this, windowTitle(), text);
}

bool CPrintPreviewDlg::ChoosePrinter(QPrinter& printer)
{
    if (m_pfnChoosePrinter)
        return m_pfnChoosePrinter(printer);
    // All pages; "Print to File (PDF)" stays offered for a user without a printer.
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

void CPrintPreviewDlg::SetPrintControls(bool enabled)
{
    for (int id : {IDC_PRINT, IDC_CURVE, IDC_TEXT})
        Control(id)->setEnabled(enabled);
}

void CPrintPreviewDlg::OnPrint()
{
    SetPrintControls(false);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(PageOrientation(m_mode));
    printer.setDocName(m_record.m_strValue[ROW_ID]);
    if (ChoosePrinter(printer)) {
        QString why;
        if (!RenderReport(printer, m_data, m_mode, &why)) {
            ShowMessage(GetText(TextId::NotPrinted, m_data.display.language) + why);
        } else {
            const QString file = printer.outputFileName();
            const QString where = file.isEmpty() ? printer.printerName() : QFileInfo(file).fileName();
            emit Printed(PrintedText(m_data.totalPages, where, m_data.display.language));
            if (m_pfnPrinted)
                m_pfnPrinted(printer);
        }
    }
    SetPrintControls(true);
}

QString CPrintPreviewDlg::PrintedText(int pages, const QString& where, std::uint16_t language)
{
    if (pages == 1)
        return GetText(TextId::PrintedOnePage, language).arg(where);
    return GetText(TextId::PrintedPages, language).arg(QString::number(pages), where);
}

void CPrintPreviewDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        for (int id : {IDC_EXIT, IDC_PREVIEW, IDC_PRINT, IDC_FIRST, IDC_PREV, IDC_NEXT, IDC_LAST})
            if (focusWidget() == Control(id)) {
                Control<QPushButton>(id)->click();
                break;
            }
        return;
    }
    QDialog::keyPressEvent(event);
}
