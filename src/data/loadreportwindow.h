#pragma once
// TFormLaden, "Geladene Daten": the report of a data set load, one line per file.

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;

class TFormLaden : public QDialog {
    Q_OBJECT
public:
    explicit TFormLaden(QWidget *parent = nullptr);
    // Shows the report modally; returns the dialog's result.
    int showReport(const QStringList &lines);
    QString reportText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPlainTextEdit *editLaden_;
    QPushButton *ok_;
};
