#pragma once

#include <QDialog>

class QLabel;

// "Info": program name, version and maker.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);
    QLabel *versionLabel() const { return version_; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *version_;
};
