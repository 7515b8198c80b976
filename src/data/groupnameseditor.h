#pragma once
// TFormGrpBez, "Gruppenbezeichnung": edits the names of the signal groups,
// two groups per row (odd numbers left, even right), only the installation's
// groups visible.

#include <QDialog>
#include <array>

struct AppContext;
struct InstallationData;
class Prompt;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// How many names the editor shows: 24 for type 0, 4 for type 1, 12 for type
// 2; for the other types the installation's group count (1 … 24; 24 when the
// count is outside that range).
int groupNamesShown(const InstallationData &data);

class TFormGrpBez : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRows = 12;
    static constexpr int kColumns = 2;

    TFormGrpBez(AppContext &ctx, Prompt &prompt, QWidget *parent = nullptr);

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

    AppContext &ctx_;
    Prompt &prompt_;
    std::array<QLineEdit *, kRows * kColumns> fields_{};
    std::array<QLabel *, kRows * kColumns> labels_{};
    QFrame *bevel_;
    QPushButton *buttonOpen_, *buttonClear_, *buttonAbbruch_, *buttonOk_;
};
