#pragma once
// Every text a window shows in its labels, buttons and frames (not those of
// the dialogs it owns), so a test can compare them with the texts the window
// must show.

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QWidget>

#include "qtprinters.h"

inline QStringList widgetTexts(const QWidget *window)
{
    QStringList texts;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window)
            continue;
        if (const auto *l = qobject_cast<const QLabel *>(w))
            texts << l->text();
        else if (const auto *b = qobject_cast<const QAbstractButton *>(w))
            texts << b->text();
        else if (const auto *g = qobject_cast<const QGroupBox *>(w))
            texts << g->title();
    }
    texts.removeAll(QString());
    return texts;
}
