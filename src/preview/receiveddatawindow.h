#pragma once
// TFormDrDaten, "Empfangene Druckerdaten": the last lines a controller sent
// while its run comes in, in a fixed-pitch font as they were printed.

#include <QStringList>
#include <QWidget>

class QTextEdit;

class TFormDrDaten : public QWidget {
    Q_OBJECT
public:
    explicit TFormDrDaten(QWidget *parent = nullptr);

    void showLines(const QStringList &lines);
    QString text() const;

signals:
    // The window was closed (its close box); the preview hides it otherwise.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QTextEdit *memo_ = nullptr;
};
