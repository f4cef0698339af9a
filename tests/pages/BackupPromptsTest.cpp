#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "BackupPromptsQt.h"

using namespace lorvane;

class BackupPromptsTest : public QObject {
    Q_OBJECT

    // Presses `button` on the next message box and records what it showed.
    void Answer(QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            text_ = box->text();
            icon_ = box->icon();
            buttons_ = box->standardButtons();
            box->button(button)->click();
        });
    }
    QString text_;
    QMessageBox::Icon icon_ = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons_;

  private slots:
    void diskPromptHasOkAndCancel() {
        BackupPromptsQt prompts;
        Answer(QMessageBox::Ok);
        QVERIFY(prompts.InsertDisk("2"));
        QCOMPARE(text_, QString("Please insert disk 2 and click OK to continue."));
        QCOMPARE(buttons_, QMessageBox::Ok | QMessageBox::Cancel);
        Answer(QMessageBox::Cancel);
        QVERIFY(!prompts.InsertDisk("12"));
        QCOMPARE(text_, QString("Please insert disk 12 and click OK to continue."));
    }

    void errorHasAnErrorIconAndOk() {
        BackupPromptsQt prompts;
        Answer(QMessageBox::Ok);
        prompts.Error("Compression error");
        QCOMPARE(text_, QString("Compression error"));
        QCOMPARE(icon_, QMessageBox::Critical);
        QCOMPARE(buttons_, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
};

QTEST_MAIN(BackupPromptsTest)
#include "BackupPromptsTest.moc"
