// The find bar below the plan table: finds a text among the cells' values as
// it is typed, then on from there forwards or backwards, round the list.
#pragma once

#include <QWidget>

class PlanTable;
class QLabel;
class QLineEdit;

class FindBar : public QWidget
{
    Q_OBJECT

public:
    explicit FindBar(PlanTable *table, QWidget *parent = nullptr);

public slots:
    void open();

private slots:
    void findAsTyped();
    void dismiss();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Step { FromCurrent, Next, Previous };
    void find(Step step);
    void showResult(bool found, const QString &text);

    PlanTable *table;
    QLineEdit *findText;
    QLabel *message;
};
