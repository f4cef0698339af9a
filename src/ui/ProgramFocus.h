#pragma once

// Where the focus of the program's windows comes from: whether the main
// window, activated, comes back from another window of the program (the
// About box, the passage window, a message box or another dialog), rather
// than from another program. A dialog that stays under the main window
// (the start-up splash) does not count.

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;
class QWindow;

namespace lorvane {

class ProgramFocus : public QObject {
    Q_OBJECT
  public:
    // `staysUnder` names the dialogs that do not count.
    ProgramFocus(QWidget* mainWindow, std::function<bool(const QWidget*)> staysUnder);

    // Asked when the main window is activated: Qt activates it before it
    // reports the new focus window, so the state still describes the
    // window the focus came from.
    bool ComingBackFromDialog() const { return lastWasDialog_ && !leftProgram_; }

  private:
    void Track(QWindow* now);
    bool IsProgramDialog(QWindow* window) const;

    QWidget* main_;
    std::function<bool(const QWidget*)> staysUnder_;
    QPointer<QWindow> focus_;
    bool lastWasDialog_ = false;
    bool leftProgram_ = false;
};

}  // namespace lorvane
