#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include "AccessibleChapterSpin.h"
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

    // Typing 200 in a book of 150 chapters: 2, 20, then the last chapter;
    // a letter changes nothing.
    void typedNumbersTakeEffectAtOnceWithinTheRange() {
        QWidget window;
        auto* spin = new ChapterSpin(&window);
        auto* other = new QLineEdit(&window);
        other->move(0, 40);
        spin->SetRange(1, 150);
        spin->SetValue(23);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        spin->Edit()->setFocus();
        QSignalSpy edited(spin, &ChapterSpin::valueEdited);
        spin->Edit()->selectAll();
        QTest::keyClicks(spin->Edit(), "200");
        QCOMPARE(edited.count(), 3);
        QCOMPARE(edited.at(0).at(0).toInt(), 2);
        QCOMPARE(edited.at(1).at(0).toInt(), 20);
        QCOMPARE(edited.at(2).at(0).toInt(), 150);
        QCOMPARE(spin->Value(), 150);
        QCOMPARE(spin->Edit()->text(), QStringLiteral("150"));

        spin->Edit()->setCursorPosition(1);
        QTest::keyClicks(spin->Edit(), "x-");
        QCOMPARE(spin->Edit()->text(), QStringLiteral("150"));
        QCOMPARE(spin->Edit()->cursorPosition(), 1);
        QCOMPARE(edited.count(), 3);
        QCOMPARE(spin->Value(), 150);

        // An emptied field, or 0, keeps the chapter; leaving the field
        // shows it again.
        spin->Edit()->selectAll();
        QTest::keyClick(spin->Edit(), Qt::Key_Backspace);
        QTest::keyClicks(spin->Edit(), "0");
        QCOMPARE(edited.count(), 3);
        other->setFocus();
        QCOMPARE(spin->Edit()->text(), QStringLiteral("150"));
        QCOMPARE(spin->Value(), 150);
        QCOMPARE(edited.count(), 3);
    }

    void fieldShowsTheValueInForceWhenEditingEnds() {
        QWidget window;
        auto* spin = new ChapterSpin(&window);
        spin->SetRange(1, 50);
        spin->SetValue(12);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy edited(spin, &ChapterSpin::valueEdited);
        // Spaces around a number: the number alone, with no second change.
        spin->Edit()->setFocus();
        spin->Edit()->selectAll();
        QTest::keyClicks(spin->Edit(), " 7 ");
        QCOMPARE(edited.count(), 1);
        QTest::keyClick(spin->Edit(), Qt::Key_Return);
        QCOMPARE(spin->Edit()->text(), QStringLiteral("7"));
        QCOMPARE(edited.count(), 1);
        // Digits beyond any number: the last chapter.
        spin->Edit()->selectAll();
        QTest::keyClicks(spin->Edit(), "99999999999");
        QCOMPARE(spin->Value(), 50);
        QCOMPARE(spin->Edit()->text(), QStringLiteral("50"));
    }

    // A screen reader hears a spin box with its range, on the spin and on
    // its field; a value it sets is the reader's change, within the range.
    void screenReaderHearsASpinBoxWithItsRange() {
        lorvane::InstallChapterSpinAccessibility();
        ChapterSpin spin;
        spin.SetRange(1, 50);
        spin.SetValue(12);
        QSignalSpy edited(&spin, &ChapterSpin::valueEdited);
        QAccessibleInterface* whole = QAccessible::queryAccessibleInterface(&spin);
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(spin.Edit());
        for (QAccessibleInterface* a : {whole, field}) {
            QVERIFY(a);
            QCOMPARE(a->role(), QAccessible::SpinBox);
            QAccessibleValueInterface* value = a->valueInterface();
            QVERIFY(value);
            QCOMPARE(value->currentValue().toInt(), 12);
            QCOMPARE(value->minimumValue().toInt(), 1);
            QCOMPARE(value->maximumValue().toInt(), 50);
        }
        QCOMPARE(field->textInterface()->text(0, 2), QStringLiteral("12"));
        whole->valueInterface()->setCurrentValue(80);
        QCOMPARE(spin.Value(), 50);
        QCOMPARE(edited.count(), 1);
        field->valueInterface()->setCurrentValue(3);
        QCOMPARE(spin.Value(), 3);
        QCOMPARE(whole->text(QAccessible::Value), QStringLiteral("3"));
        QCOMPARE(edited.count(), 2);
        // Another field is none of the spin's business.
        QLineEdit other;
        QVERIFY(QAccessible::queryAccessibleInterface(&other)->role() != QAccessible::SpinBox);
    }
};

QTEST_MAIN(ChapterSpinTest)
#include "ChapterSpinTest.moc"
