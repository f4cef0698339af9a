#include <QLayout>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include "TextTabs.h"

using lorvane::TextTabs;
using Side = lorvane::TextTabs::Side;

namespace {

const Side kSides[] = {Side::Right, Side::Left, Side::Top, Side::Bottom};

const char* Name(Side side) {
    switch (side) {
        case Side::Right:
            return "right";
        case Side::Left:
            return "left";
        case Side::Top:
            return "top";
        case Side::Bottom:
            return "bottom";
    }
    return "";
}

}  // namespace

class TextTabsTest : public QObject {
    Q_OBJECT
  private slots:
    void manyTabsScrollWithinTheSpaceGiven() {
        for (Side side : kSides) {
            TextTabs tabs;
            tabs.SetContent(new QWidget);
            tabs.SetSide(side);
            tabs.Insert(0, QString::fromUtf8("Genèse 1"));
            const QSize oneTab = tabs.minimumSizeHint();
            for (int i = 1; i < 40; ++i)
                tabs.Insert(0, QString::fromUtf8("Deutéronome %1").arg(i));
            const QSize fortyTabs = tabs.minimumSizeHint();
            QVERIFY2(fortyTabs.width() <= oneTab.width() && fortyTabs.height() <= oneTab.height(),
                     Name(side));

            tabs.resize(400, 300);
            tabs.show();
            QVERIFY(QTest::qWaitForWindowExposed(&tabs));
            QCOMPARE(tabs.size(), QSize(400, 300));
            QVERIFY2(tabs.rect().contains(tabs.Bar()->geometry()), Name(side));
            // The bar runs along its whole side and offers its arrows.
            const bool vertical = side == Side::Left || side == Side::Right;
            QCOMPARE(vertical ? tabs.Bar()->height() : tabs.Bar()->width(), vertical ? 300 : 400);
            bool arrows = false;
            for (QToolButton* b : tabs.Bar()->findChildren<QToolButton*>())
                arrows = arrows || b->isVisible();
            QVERIFY2(arrows, Name(side));
            // The selected tab is scrolled into sight.
            tabs.SetCurrent(39);
            QVERIFY2(tabs.Bar()->rect().intersects(tabs.Bar()->tabRect(39)), Name(side));
        }
    }

    void theBarStandsOnItsSide() {
        TextTabs tabs;
        auto* content = new QWidget;
        tabs.SetContent(content);
        tabs.Insert(0, QStringLiteral("Livre 2 1"));
        tabs.resize(400, 300);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        QLayout* layout = tabs.layout();
        QLayoutItem* first = layout->itemAt(0);
        QLayoutItem* second = layout->itemAt(1);
        for (Side side : {Side::Left, Side::Top, Side::Bottom, Side::Right, Side::Left}) {
            tabs.SetSide(side);
            layout->activate();
            const QRect bar = tabs.Bar()->geometry();
            const QRect text = content->geometry();
            switch (side) {
                case Side::Right:
                    QVERIFY(bar.left() >= text.right());
                    break;
                case Side::Left:
                    QVERIFY(bar.right() <= text.left());
                    break;
                case Side::Top:
                    QVERIFY(bar.bottom() <= text.top());
                    break;
                case Side::Bottom:
                    QVERIFY(bar.top() >= text.bottom());
                    break;
            }
            // A change of side turns the layout, it does not rebuild it.
            QCOMPARE(layout->count(), 2);
            QCOMPARE(layout->itemAt(0), first);
            QCOMPARE(layout->itemAt(1), second);
        }
    }

    void sideTabsSwitchWithUpAndDownToo() {
        TextTabs tabs;
        tabs.SetContent(new QWidget);
        for (int i = 3; i >= 1; --i)
            tabs.Insert(0, QStringLiteral("Livre %1 1").arg(i));
        tabs.resize(400, 300);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        QSignalSpy changed(&tabs, &TextTabs::currentChanged);
        for (Side side : {Side::Right, Side::Left}) {
            tabs.SetSide(side);
            tabs.SetCurrent(0);
            QTest::keyClick(tabs.Bar(), Qt::Key_Down);
            QCOMPARE(tabs.Current(), 1);
            QTest::keyClick(tabs.Bar(), Qt::Key_Down);
            QTest::keyClick(tabs.Bar(), Qt::Key_Down);  // the last tab stays
            QCOMPARE(tabs.Current(), 2);
            QTest::keyClick(tabs.Bar(), Qt::Key_Up);
            QCOMPARE(tabs.Current(), 1);
            QTest::keyClick(tabs.Bar(), Qt::Key_Left);  // as before
            QCOMPARE(tabs.Current(), 0);
            QTest::keyClick(tabs.Bar(), Qt::Key_Right);
            QCOMPARE(tabs.Current(), 1);
        }
        QCOMPARE(changed.count(), 10);
        QCOMPARE(changed.last().at(0).toInt(), 1);
        // At the top or the bottom, Up and Down are left to the window.
        tabs.SetSide(Side::Top);
        QTest::keyClick(tabs.Bar(), Qt::Key_Down);
        QCOMPARE(tabs.Current(), 1);
    }
};

QTEST_MAIN(TextTabsTest)
#include "TextTabsTest.moc"
