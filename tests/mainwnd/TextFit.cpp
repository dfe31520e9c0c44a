#include "TextFit.h"

#include "mainwnd/Statics.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTableView>
#include <QTextLayout>

namespace {

QString Name(const QWidget* w)
{
    QString name = w->objectName();
    for (const QWidget* p = w->parentWidget(); p && name.isEmpty(); p = p->parentWidget())
        name = p->objectName();
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()), name);
}

// Characters of the text that no font the text engine falls back to can draw.
QString MissingGlyphs(const QFont& font, const QString& text)
{
    QString missing;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(line, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns())
            if (run.glyphIndexes().contains(0))
                missing += line;
    }
    return missing;
}

// Size of the text as drawn: lines split at '\n', a button's '&' marks hidden.
QSize TextSize(const QFont& font, const QString& text, bool mnemonic)
{
    const QFontMetrics fm(font);
    const int flags = mnemonic ? Qt::TextShowMnemonic : 0;
    return fm.boundingRect(QRect(0, 0, 100000, 100000), flags, text).size();
}

// The room a control gives its text.
QRect ButtonTextRoom(const QAbstractButton* button, const QString& text)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = text;
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    if (const auto* push = qobject_cast<const QPushButton*>(button)) {
        if (push->autoDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
        QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        if (!option.icon.isNull())
            room.setLeft(room.left() + option.iconSize.width() + 4);
        return room;
    }
    const auto element = qobject_cast<const QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                                                                    : QStyle::SE_CheckBoxContents;
    return button->style()->subElementRect(element, &option, button);
}

QRect LabelTextRoom(const QLabel* label)
{
    QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0)
        indent = QFontMetrics(label->font()).horizontalAdvance(QLatin1Char('x')) / 2 - label->margin();
    if (indent > 0) {
        if (label->alignment() & Qt::AlignLeft)
            room.setLeft(room.left() + indent);
        if (label->alignment() & Qt::AlignRight)
            room.setRight(room.right() - indent);
    }
    return room;
}

QRect LineEditTextRoom(const QLineEdit* edit)
{
    const int frame = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit) : 0;
    const QMargins m = edit->textMargins();
    // QLineEdit keeps 2 pixels clear left and right of its text.
    return edit->rect().adjusted(frame + m.left() + 2, frame + m.top(), -frame - m.right() - 2, -frame - m.bottom());
}

QString Compare(const QWidget* control, const QString& text, QSize need, QRect room)
{
    QStringList why;
    if (need.width() > room.width())
        why << QStringLiteral("%1 px wide in %2").arg(need.width()).arg(room.width());
    if (need.height() > room.height())
        why << QStringLiteral("%1 px high in %2").arg(need.height()).arg(room.height());
    const QString missing = MissingGlyphs(control->font(), text);
    if (!missing.isEmpty())
        why << QStringLiteral("no glyph in \"%1\"").arg(missing);
    if (why.isEmpty())
        return {};
    return QStringLiteral("%1 \"%2\": %3").arg(Name(control), text, why.join(QStringLiteral(", ")));
}

void CheckTabs(const QTabBar* bar, QStringList& problems)
{
    if (bar->sizeHint().width() > bar->width())
        problems << QStringLiteral("%1: tabs need %2 px in %3").arg(Name(bar)).arg(bar->sizeHint().width()).arg(bar->width());
    const int pad = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
    for (int i = 0; i < bar->count(); ++i) {
        const QSize text = TextSize(bar->font(), bar->tabText(i), true);
        const QString p = Compare(bar, bar->tabText(i), {text.width() + pad, text.height()}, bar->tabRect(i));
        if (!p.isEmpty())
            problems << p;
    }
}

// The header texts and the cells of the first and last rows, each within
// its column, and the columns within the list.
void CheckTable(const QTableView* table, QStringList& problems)
{
    const QAbstractItemModel* model = table->model();
    if (!model)
        return;
    const QHeaderView* header = table->horizontalHeader();
    int total = 0;
    const int headerPad = 2 * table->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, table);
    const int cellPad = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
    const int rows = model->rowCount();
    for (int c = 0; c < model->columnCount(); ++c) {
        const int width = table->columnWidth(c);
        total += width;
        const QString title = model->headerData(c, Qt::Horizontal).toString();
        const QSize titleSize = TextSize(header->font(), title, false);
        QString p = Compare(header, title, {titleSize.width() + headerPad, titleSize.height()},
                            QRect(0, 0, width, header->height()));
        if (!p.isEmpty())
            problems << p;
        for (const int row : {0, rows / 2, rows - 1}) {
            if (row < 0 || row >= rows)
                continue;
            const QString cell = model->index(row, c).data().toString();
            const QSize cellSize = TextSize(table->font(), cell, false);
            p = Compare(table, cell, {cellSize.width() + cellPad, cellSize.height()},
                        QRect(0, 0, width, table->rowHeight(row)));
            if (!p.isEmpty())
                problems << p;
        }
    }
    const int room = table->viewport()->width();
    if (total > room)
        problems << QStringLiteral("%1: columns need %2 px in %3").arg(Name(table)).arg(total).arg(room);
}

} // namespace

QString TextFitProblem(const QWidget* control, const QString& text)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return Compare(control, text, TextSize(control->font(), text, true), ButtonTextRoom(button, text));
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return Compare(control, text, TextSize(control->font(), text, false), LabelTextRoom(label));
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return Compare(control, text, TextSize(control->font(), text, false), LineEditTextRoom(edit));
    if (dynamic_cast<const CColourStatic*>(control)) {
        // Trailing blanks pad the text; they show nothing.
        QString shown = text;
        while (shown.endsWith(QLatin1Char(' ')))
            shown.chop(1);
        return Compare(control, shown, TextSize(control->font(), shown, false), control->rect());
    }
    return {};
}

QStringList WindowTextProblems(const QWidget* root)
{
    QStringList problems;
    QList<const QWidget*> widgets{root};
    for (QWidget* w : root->findChildren<QWidget*>())
        if (w->isVisibleTo(root))
            widgets << w;
    for (const QWidget* w : widgets) {
        QString text;
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            text = button->text();
        else if (const auto* label = qobject_cast<const QLabel*>(w))
            text = label->text();
        else if (const auto* edit = qobject_cast<const QLineEdit*>(w))
            text = edit->text();
        else if (const auto* statics = dynamic_cast<const CColourStatic*>(w))
            text = statics->Text();
        else if (const auto* bar = qobject_cast<const QTabBar*>(w))
            CheckTabs(bar, problems);
        else if (const auto* table = qobject_cast<const QTableView*>(w))
            CheckTable(table, problems);
        if (!text.isEmpty()) {
            const QString p = TextFitProblem(w, text);
            if (!p.isEmpty())
                problems << p;
        }
    }
    return problems;
}
