#pragma once
// Answering a modal dialog a test opens through a window's own code path
// (QDialog::exec, a file dialog): the answer runs from the event loop as soon
// as the dialog is the active modal widget.

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <QWidget>
#include <functional>

inline void whenModal(std::function<void(QWidget *)> answer)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        timer->stop();
        timer->deleteLater();
        answer(modal);
    });
    timer->start();
}

// Chooses path in the next file dialog; an empty path cancels it. The
// dialog's folder when it opened is reported through openedIn.
inline void chooseInFileDialog(const QString &path, QString *openedIn = nullptr)
{
    whenModal([path, openedIn](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        if (!dialog)
            return;
        if (openedIn)
            *openedIn = dialog->directory().absolutePath();
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // selectFile leaves the name field alone while it has the focus, and
        // whether it has it yet depends on when this answer runs.
        if (QWidget *focused = dialog->focusWidget())
            focused->clearFocus();
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();  // QFileDialog::accept is protected
    });
}
