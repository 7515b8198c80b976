#pragma once
// TFormGrpBez, "Gruppenbezeichnung": edits the names of the signal groups,
// two groups per row (odd numbers left, even right), only the installation's
// groups visible.

#include <QDialog>
#include <array>

struct AppSettings;
struct InstallationData;
class Prompt;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TFormGrpBez : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRows = 12;
    static constexpr int kColumns = 2;

    // Edits data's group names; a names file is looked for from the
    // settings' standard data folder.
    TFormGrpBez(InstallationData &data, const AppSettings &settings, Prompt &prompt,
                QWidget *parent = nullptr);

    // The name field and number label in row 0 … 11 and column 0 … 1.
    QLineEdit *field(int row, int column) const { return fields_[column * kRows + row]; }
    QLabel *numberLabel(int row, int column) const { return labels_[column * kRows + row]; }

    void ButtonOkClick();
    void ButtonAbbruchClick();
    void ButtonClearClick();
    void ButtonOpenClick();

signals:
    // Shown or hidden: the main window re-evaluates its commands.
    void visibilityChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillFields();

    InstallationData &data_;
    const AppSettings &settings_;
    Prompt &prompt_;
    std::array<QLineEdit *, kRows * kColumns> fields_{};
    std::array<QLabel *, kRows * kColumns> labels_{};
    QFrame *bevel_;
    QPushButton *buttonOpen_, *buttonClear_, *buttonAbbruch_, *buttonOk_;
};
