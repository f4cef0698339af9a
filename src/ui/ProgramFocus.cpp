#include "ProgramFocus.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <QWindow>

namespace lorvane {

ProgramFocus::ProgramFocus(QWidget* mainWindow, std::function<bool(const QWidget*)> staysUnder)
    : QObject(mainWindow), main_(mainWindow), staysUnder_(std::move(staysUnder)) {
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &ProgramFocus::Track);
}

bool ProgramFocus::IsProgramDialog(QWindow* window) const {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowHandle() != window) continue;
        if (!qobject_cast<QDialog*>(w)) return false;
        return !(staysUnder_ && staysUnder_(w));
    }
    return false;
}

void ProgramFocus::Track(QWindow* now) {
    if (now) {
        lastWasDialog_ = now != main_->windowHandle() && IsProgramDialog(now);
        leftProgram_ = false;
        focus_ = now;
    } else {
        // No window of the program has the focus. When the one that had it
        // is still shown, the reader went to another program; when it was
        // closed, the focus is on its way to another window of ours.
        leftProgram_ = focus_ && focus_->isVisible();
    }
}

}  // namespace lorvane
