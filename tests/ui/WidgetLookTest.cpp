#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QStyleFactory>
#include <QToolTip>
#include <QtTest>
#include <memory>

#include "HTMLControls.h"
#include "HTMListBox.h"
#include "ImageList.h"
#include "MenuCheckStyle.h"

using namespace lorvane;

namespace {

int Luminance(QRgb c) {
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

}  // namespace

// What the reader sees of the widgets beyond their logic: the book list's
// drop-down, the tooltips of the book index, the checked menu entries.
class WidgetLookTest : public QObject {
    Q_OBJECT
  private slots:
    void bookListDropsDownTwoHundredPixels() {
        for (const char* name : {"Fusion", "Windows"}) {
            std::unique_ptr<QStyle> style(QStyleFactory::create(name));
            QVERIFY(style);
            THTMLComboBox combo;
            combo.setStyle(style.get());
            QFont font(QStringLiteral("Tahoma"));
            font.setPointSize(10);
            font.setBold(true);
            combo.setFont(font);
            combo.setFixedWidth(173);
            combo.SetDropDownHeight(200);  // set before the items, as the window does
            for (int b = 1; b <= 66; ++b)
                combo.AddItem(QStringLiteral("Livre %1").arg(b));
            combo.move(10, 10);
            combo.show();
            QVERIFY(QTest::qWaitForWindowExposed(&combo));
            combo.showPopup();
            QWidget* popup = combo.view()->window();
            QTRY_VERIFY(popup->isVisible());
            QVERIFY2(std::abs(popup->height() - 200) <= 10,
                     qPrintable(QStringLiteral("%1: %2").arg(name).arg(popup->height())));
            // A list that drops down below the box, not over it.
            QVERIFY2(
                popup->geometry().top() >= combo.mapToGlobal(QPoint(0, combo.height())).y() - 2,
                name);
            combo.hidePopup();
            combo.setStyle(nullptr);
        }
    }

    void indexHeadingsTooLongShowThemselvesAsTooltip() {
        THTMListBox list;
        list.resize(120, 100);
        list.Add(QStringLiteral("<B>Court</B>"), 1001);
        list.Add(QStringLiteral("<IND x=\"10\">Un titre bien trop long pour la largeur du panneau"),
                 1002);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(list.ItemToolTip(0), QString());
        QCOMPARE(list.ItemToolTip(1),
                 QStringLiteral("Un titre bien trop long pour la largeur du panneau"));
        // Wide enough, it needs no tooltip.
        list.resize(900, 100);
        QCOMPARE(list.ItemToolTip(1), QString());
        list.resize(120, 100);

        const int h = list.ItemHeight();
        QWidget* viewport = list.viewport();
        QPoint at(20, h + h / 2);
        QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), list.ItemToolTip(1));
        // Over the short heading, none.
        at = QPoint(20, h / 2);
        QHelpEvent again(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &again);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void checkedMenuEntriesAreMarkedPlainly() {
        QMenu menu;
        ShowChecksPlainly(&menu);
        const QIcon icon = ImageList::Modules().Icon(10);
        QAction* on = menu.addAction(icon, QStringLiteral("Index"));
        QAction* off = menu.addAction(icon, QStringLiteral("Index"));
        QAction* plain = menu.addAction(icon, QStringLiteral("Index"));
        on->setCheckable(true);
        off->setCheckable(true);
        on->setChecked(true);
        menu.popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        const QImage image = menu.grab().toImage();
        const QRect a = menu.actionGeometry(on);
        const QRect b = menu.actionGeometry(off);
        const QRect c = menu.actionGeometry(plain);
        QCOMPARE(a.size(), b.size());
        // Row by row (within the menu's frame), the checked entry differs
        // from the unchecked one by a mark of strong contrast; the unchecked
        // one and an uncheckable one look alike.
        int strong = 0;
        int alike = 0;
        for (int y = 1; y < a.height() - 1; ++y) {
            for (int x = 1; x < a.width() - 1; ++x) {
                const int da = Luminance(image.pixel(a.x() + x, a.y() + y));
                const int db = Luminance(image.pixel(b.x() + x, b.y() + y));
                const int dc = Luminance(image.pixel(c.x() + x, c.y() + y));
                if (std::abs(da - db) > 100) ++strong;
                if (db != dc) ++alike;
            }
        }
        QVERIFY2(strong >= 12, qPrintable(QString::number(strong)));
        QCOMPARE(alike, 0);
        menu.close();
    }
};

QTEST_MAIN(WidgetLookTest)
#include "WidgetLookTest.moc"
