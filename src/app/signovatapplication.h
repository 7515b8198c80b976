#pragma once
// The application object: an error thrown by an event handler is shown to the
// user and the program goes on.

#include <QApplication>
#include <QTranslator>

class Prompt;

class SignovatApplication : public QApplication {
public:
    SignovatApplication(int &argc, char **argv);
    void setPrompt(Prompt *prompt) { prompt_ = prompt; }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    Prompt *prompt_ = nullptr;
    QTranslator translator_;
};
