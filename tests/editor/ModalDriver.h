#pragma once

// Answers the modal dialogs and boxes that a command under test opens: the
// answer runs once the next modal window is up, inside its event loop.

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

namespace lorvane::testing {

// Runs answer(modal) on the next modal window other than the one up now
// that shows within 30 s. Setting the returned flag to false stops waiting.
// To answer a window that a first one opens, call this from the first
// answer, before the action that opens the second.
inline std::vector<std::weak_ptr<bool>>& PendingAnswers() {
    static std::vector<std::weak_ptr<bool>> pending;
    return pending;
}

// Stops every answer still waiting (a test's cleanup calls it, so that no
// answer meant for one test reaches a window of the next).
inline void CancelPendingAnswers() {
    for (auto& weak : PendingAnswers())
        if (auto flag = weak.lock()) *flag = false;
    PendingAnswers().clear();
}

inline std::shared_ptr<bool> OnNextModal(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    auto active = std::make_shared<bool>(true);
    QWidget* before = QApplication::activeModalWidget();
    QObject::connect(timer, &QTimer::timeout, [timer, answer, waited, active, before] {
        QWidget* modal = QApplication::activeModalWidget();
        if (*active && modal && modal != before && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            *active = false;
            answer(modal);
            return;
        }
        if (!*active || waited->elapsed() > 30000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(5);
    PendingAnswers().push_back(active);
    return active;
}

// Whether op opens a modal window (which is closed at once).
inline bool OpensModal(const std::function<void()>& op) {
    auto seen = std::make_shared<bool>(false);
    auto waiting = OnNextModal([seen](QWidget* w) {
        *seen = true;
        w->close();
    });
    op();
    QTest::qWait(50);
    *waiting = false;
    return *seen;
}

// Clicks a standard button of the next message box; its text goes to *text.
inline std::shared_ptr<bool> AnswerBox(QMessageBox::StandardButton button,
                                       std::shared_ptr<QString> text = nullptr,
                                       std::shared_ptr<QString> name = nullptr) {
    return OnNextModal([button, text, name](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) {
            w->close();
            return;
        }
        if (text) *text = box->text();
        if (name) *name = box->objectName();
        box->button(button)->click();
    });
}

// Puts a path in the name box of a file dialog, as typed: selectFile()
// alone waits for the folder to be read when the file exists.
inline void Choose(QFileDialog* dialog, const QString& path) {
    dialog->selectFile(path);
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(path);
}

// Chooses `path` in the next file dialog (or cancels it when path is
// empty); *shown gets the dialog's object name. `then` runs just before the
// choice is accepted (to answer what the choice opens).
inline std::shared_ptr<bool> AnswerFileDialog(const QString& path,
                                              std::shared_ptr<QString> shown = nullptr,
                                              std::function<void()> then = nullptr) {
    return OnNextModal([path, shown, then](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        if (shown) *shown = w->objectName();
        if (!dialog || path.isEmpty()) {
            if (dialog)
                dialog->reject();
            else
                w->close();
            return;
        }
        Choose(dialog, path);
        if (then) then();
        static_cast<QDialog*>(dialog)->accept();
    });
}

}  // namespace lorvane::testing
