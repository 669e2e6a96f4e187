// Finding a text in the plan table: every cell's value as its item holds it,
// row by row and left to right within a row, from the current cell on.
#include "FindBar.h"

#include "PlanTable.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringMatcher>
#include <QStyle>
#include <QToolButton>

namespace {

// Room for a typical search text, in average characters.
constexpr int FindTextWidth = 30;

} // namespace

FindBar::FindBar(PlanTable *table, QWidget *parent)
    : QWidget(parent), table(table), findText(new QLineEdit(this)), message(new QLabel(this))
{
    setObjectName("findBar");
    findText->setObjectName("findText");
    findText->setPlaceholderText("Suchen");
    findText->setMinimumWidth(fontMetrics().averageCharWidth() * FindTextWidth);
    findText->installEventFilter(this);
    message->setObjectName("findMessage");

    // Without the focus of its own, so that Enter still goes on finding after a click.
    auto *closeButton = new QToolButton(this);
    closeButton->setObjectName("findClose");
    closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closeButton->setToolTip("Schließen");
    closeButton->setAutoRaise(true);
    closeButton->setFocusPolicy(Qt::NoFocus);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(findText);
    layout->addWidget(message, 1);
    layout->addWidget(closeButton);

    connect(findText, SIGNAL(textChanged(const QString &)), this, SLOT(findAsTyped()));
    connect(closeButton, SIGNAL(clicked()), this, SLOT(dismiss()));
}

void FindBar::open()
{
    table->commitOpenEditor();
    show();
    findText->setFocus(Qt::ShortcutFocusReason);
    findText->selectAll();
}

void FindBar::dismiss()
{
    // The table takes the focus before the bar hides: hiding the focus would
    // hand it on to the next widget, maybe some cell's editor.
    table->setFocus(Qt::OtherFocusReason);
    hide();
}

void FindBar::findAsTyped()
{
    find(Step::FromCurrent);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == findText && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool back = key->modifiers().testFlag(Qt::ShiftModifier);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F3:
            find(back ? Step::Previous : Step::Next);
            return true;
        case Qt::Key_Escape:
            dismiss();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::find(Step step)
{
    table->commitOpenEditor();
    const QString text = findText->text();
    if (text.isEmpty()) {
        showResult(true, QString());
        return;
    }

    // The cells in reading order, each numbered row * columns + column.
    const int columns = table->columnCount();
    const int cells = table->rowCount() * columns;
    const bool back = step == Step::Previous;
    const QModelIndex current = table->currentIndex();
    int cell = back ? cells - 1 : 0;
    if (current.isValid())
        cell = current.row() * columns + current.column() + (step == Step::Next) - back;

    const QStringMatcher matcher(text, Qt::CaseInsensitive);
    bool wrapped = false;
    for (int looked = 0; looked < cells; ++looked, cell += back ? -1 : 1) {
        if (cell == cells || cell < 0) {
            cell = back ? cells - 1 : 0;
            wrapped = true;
        }
        const QTableWidgetItem *item = table->item(cell / columns, cell % columns);
        if (item && matcher.indexIn(item->text()) >= 0) {
            // The bar keeps the focus, so that Enter goes on finding.
            table->setCurrentCell(cell / columns, cell % columns);
            table->scrollTo(table->currentIndex());
            findText->setFocus(Qt::OtherFocusReason);
            if (!wrapped)
                showResult(true, QString());
            else if (back)
                showResult(true, "Am Anfang der Liste, weiter am Ende");
            else
                showResult(true, "Am Ende der Liste, weiter am Anfang");
            return;
        }
    }
    showResult(false, "Nicht gefunden");
}

void FindBar::showResult(bool found, const QString &text)
{
    QPalette palette; // unset: the field's own again
    if (!found) {
        palette = findText->palette();
        palette.setColor(QPalette::Base, Qt::red);
    }
    findText->setPalette(palette);
    message->setText(text);
}
