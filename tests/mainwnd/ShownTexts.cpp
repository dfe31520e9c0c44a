#include "ShownTexts.h"

#include "mainwnd/BatteryStrip.h"
#include "mainwnd/Statics.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTabBar>
#include <QTableView>

namespace {

void TableTexts(const QTableView* table, QStringList& texts)
{
    const QAbstractItemModel* model = table->model();
    if (!model)
        return;
    const int rows = model->rowCount();
    for (int c = 0; c < model->columnCount(); ++c) {
        texts << model->headerData(c, Qt::Horizontal).toString();
        for (const int row : {0, rows / 2, rows - 1})
            if (row >= 0 && row < rows)
                texts << model->index(row, c).data().toString();
    }
}

void WidgetTexts(const QWidget* w, QStringList& texts)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        texts << button->text();
    else if (const auto* label = qobject_cast<const QLabel*>(w))
        texts << label->text();
    else if (const auto* group = qobject_cast<const QGroupBox*>(w))
        texts << group->title();
    else if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        texts << (edit->text().isEmpty() ? edit->placeholderText() : edit->text());
    else if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(w))
        texts << spin->text();
    else if (const auto* progress = qobject_cast<const QProgressBar*>(w))
        texts << (progress->isTextVisible() ? progress->text() : QString());
    else if (const auto* statics = dynamic_cast<const CColourStatic*>(w))
        texts << statics->Text();
    else if (const auto* banner = dynamic_cast<const CBannerStatic*>(w))
        texts << banner->Title() << banner->Subtitle();
    else if (const auto* battery = dynamic_cast<const CBatteryStrip*>(w))
        texts << battery->ToolTipText();
    else if (const auto* bar = qobject_cast<const QTabBar*>(w))
        for (int i = 0; i < bar->count(); ++i)
            texts << bar->tabText(i);
    else if (const auto* table = qobject_cast<const QTableView*>(w))
        TableTexts(table, texts);
    texts << w->toolTip();
}

} // namespace

QStringList ShownTexts(const QWidget* root)
{
    QStringList texts{root->windowTitle()};
    WidgetTexts(root, texts);
    for (const QWidget* w : root->findChildren<QWidget*>())
        if (w->isVisibleTo(root))
            WidgetTexts(w, texts);
    texts.removeAll(QString());
    return texts;
}

QStringList TextsWithLatin(const QStringList& texts, const QStringList& allowed)
{
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    QStringList found;
    for (const QString& text : texts) {
        QString rest = text;
        for (const QString& piece : allowed)
            rest.remove(piece);
        if (rest.contains(latin))
            found << text;
    }
    return found;
}
