#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include "ChapterSpin.h"

using lorvane::ChapterSpin;

class ChapterSpinTest : public QObject {
    Q_OBJECT
  private slots:
    void programChangesRaiseNothing() {
        ChapterSpin spin;
        QSignalSpy edited(&spin, &ChapterSpin::valueEdited);
        spin.SetRange(1, 50);
        spin.SetValue(7);
        QCOMPARE(spin.Value(), 7);
        QCOMPARE(edited.count(), 0);
    }

    void keysAndArrowsStepWithinTheRange() {
        ChapterSpin spin;
        spin.SetRange(1, 150);
        spin.SetValue(1);
        spin.show();
        QSignalSpy edited(&spin, &ChapterSpin::valueEdited);
        QTest::keyClick(spin.Edit(), Qt::Key_PageUp);
        QCOMPARE(spin.Value(), 11);
        QTest::keyClick(spin.Edit(), Qt::Key_Up);
        QCOMPARE(spin.Value(), 12);
        QTest::keyClick(spin.Edit(), Qt::Key_PageDown);
        QTest::keyClick(spin.Edit(), Qt::Key_PageDown);
        QCOMPARE(spin.Value(), 1);  // 12 - 10 = 2, then the bound
        spin.UpButton()->click();
        QCOMPARE(spin.Value(), 2);
        spin.DownButton()->click();
        spin.DownButton()->click();
        QCOMPARE(spin.Value(), 1);
        QCOMPARE(edited.count(), 6);  // the last arrow at the bound changed nothing
        QCOMPARE(edited.last().at(0).toInt(), 1);
    }

    void oneChapterBookStaysAtOne() {
        ChapterSpin spin;
        spin.SetRange(1, 1);
        spin.SetValue(1);
        spin.show();
        QSignalSpy edited(&spin, &ChapterSpin::valueEdited);
        for (auto key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown})
            QTest::keyClick(spin.Edit(), key);
        spin.UpButton()->click();
        QCOMPARE(spin.Value(), 1);
        QCOMPARE(edited.count(), 0);
    }

    void typedNumbersTakeEffectAtOnceAndAreBoundedOnFocusLoss() {
        QWidget window;
        auto* spin = new ChapterSpin(&window);
        auto* other = new QLineEdit(&window);
        other->move(0, 40);
        spin->SetRange(1, 4);
        spin->SetValue(1);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        spin->Edit()->setFocus();
        QSignalSpy edited(spin, &ChapterSpin::valueEdited);
        spin->Edit()->selectAll();
        QTest::keyClicks(spin->Edit(), "17");
        QCOMPARE(edited.count(), 2);  // "1", then "17": beyond the book's last
        QCOMPARE(edited.last().at(0).toInt(), 17);
        other->setFocus();
        QCOMPARE(spin->Value(), 4);
        QCOMPARE(edited.last().at(0).toInt(), 4);

        spin->Edit()->setFocus();
        spin->Edit()->selectAll();
        QTest::keyClick(spin->Edit(), Qt::Key_Backspace);
        QCOMPARE(edited.last().at(0).toInt(), 1);  // an emptied field reads as 1
        QTest::keyClicks(spin->Edit(), "x");
        QCOMPARE(spin->Value(), 1);
    }
    void fieldShowsTheValueInForceWhenEditingEnds() {
        QWidget window;
        auto* spin = new ChapterSpin(&window);
        auto* other = new QLineEdit(&window);
        other->move(0, 40);
        spin->SetRange(1, 50);
        spin->SetValue(12);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy edited(spin, &ChapterSpin::valueEdited);
        // A text that is not a number, left by focus loss, or an emptied
        // field left with Return: chapter 1 is shown, and the field says so.
        for (const char* typed : {"abc", ""}) {
            spin->Edit()->setFocus();
            spin->Edit()->selectAll();
            QTest::keyClick(spin->Edit(), Qt::Key_Backspace);
            QTest::keyClicks(spin->Edit(), typed);
            QCOMPARE(edited.last().at(0).toInt(), 1);
            if (*typed)
                other->setFocus();
            else
                QTest::keyClick(spin->Edit(), Qt::Key_Return);
            QCOMPARE(spin->Edit()->text(), QStringLiteral("1"));
            QCOMPARE(edited.last().at(0).toInt(), 1);
            spin->SetValue(12);
        }
        // Spaces around a number: the number alone, with no second change.
        spin->Edit()->setFocus();
        spin->Edit()->selectAll();
        QTest::keyClicks(spin->Edit(), " 7 ");
        const int changes = edited.count();
        QTest::keyClick(spin->Edit(), Qt::Key_Return);
        QCOMPARE(spin->Edit()->text(), QStringLiteral("7"));
        QCOMPARE(edited.count(), changes);
    }
};

QTEST_MAIN(ChapterSpinTest)
#include "ChapterSpinTest.moc"
