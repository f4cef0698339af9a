#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "Accessible.h"
#include "HTMLControls.h"
#include "HTMListBox.h"
#include "ImageList.h"
#include "MiniHtmlPainter.h"

using namespace lorvane;

namespace {

// Counts the paint events of a widget.
class PaintCounter : public QObject {
  public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++count;
        return false;
    }
};

MiniHtmlLayout Layout(const QString& text, const ImageList& images = {}) {
    MiniHtmlContext ctx;
    ctx.font = QFont("DejaVu Sans", 10);
    ctx.color = Qt::black;
    ctx.images = images;
    return MiniHtmlLayout(ParseMiniHtml(text), ctx);
}

QImage Render(const MiniHtmlLayout& layout) {
    QImage img(300, 60, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    layout.Draw(p, QPointF(0, 0));
    return img;
}

ImageList NineImages() {
    QList<QIcon> icons;
    const ImageList all = ImageList::Modules();
    for (int i = 0; i < 9; ++i)
        icons << all.Icon(i);
    return ImageList(QSize(32, 32), icons);
}

}  // namespace

class HtmlWidgetsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<THTMListBox> list_;

    void Fill(int n) {
        list_->BeginUpdate();
        for (int i = 0; i < n; ++i)
            list_->Add(QString("<B>Item</B> %1").arg(i), 1000 + i);
        list_->EndUpdate();
    }
    QPoint RowCenter(int row) const {
        const int h = list_->ItemHeight();
        return QPoint(20, (row - list_->TopIndex()) * h + h / 2);
    }

  private slots:
    void init() {
        list_ = std::make_unique<THTMListBox>();
        list_->SetItemHeight(14);
        list_->resize(200, 14 * 10 + 2 * list_->frameWidth());
        list_->show();
        QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
    }
    void cleanup() { list_.reset(); }

    void listKeepsTextsAndValues() {
        QCOMPARE(list_->Add("<B>Gn 1:1</B> : a", 1001), 0);
        QCOMPARE(list_->Add("b", 2003), 1);
        list_->InsertTop("<FONT color=\"gray\"><B>2 éléments trouvés ...</B></FONT>", 0);
        QCOMPARE(list_->Count(), 3);
        QCOMPARE(list_->Text(0),
                 QString("<FONT color=\"gray\"><B>2 éléments trouvés ...</B></FONT>"));
        QCOMPARE(list_->Value(0), 0);
        QCOMPARE(list_->Value(1), 1001);
        QCOMPARE(list_->Value(2), 2003);
        list_->SetText(2, "<B>Gn 2:3</B>");
        QCOMPARE(list_->Text(2), QString("<B>Gn 2:3</B>"));
        list_->SetValue(2, -7);
        QCOMPARE(list_->Value(2), -7);
        QCOMPARE(list_->Value(1), 1001);
        // The selection follows its item when one is put before it.
        list_->SetItemIndex(1);
        list_->InsertTop("x");
        QCOMPARE(list_->ItemIndex(), 2);
        QCOMPARE(list_->Value(list_->ItemIndex()), 1001);
        list_->Insert(4, "last", 9);
        QCOMPARE(list_->Value(4), 9);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, list_->Text(5));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, list_->Value(-1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, list_->SetText(5, "x"));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, list_->Insert(6, "x"));
        list_->SetItemIndex(17);
        QCOMPARE(list_->ItemIndex(), -1);
        list_->Clear();
        QCOMPARE(list_->Count(), 0);
        QCOMPARE(list_->ItemIndex(), -1);
        QCOMPARE(list_->TopIndex(), 0);
    }

    // A screen reader holds on to an item it was given: asked again, the
    // list gives the same one, which says the item's text now; once the
    // list is emptied it is no longer valid nor among the list's children.
    void screenReaderItemsStayUntilTheListLosesThem() {
        // Installed before the list is made, as the program does.
        InstallAccessibility();
        list_ = std::make_unique<THTMListBox>();
        Fill(3);
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(list_.get());
        QAccessibleInterface* item = list->child(2);
        QVERIFY(item && item->isValid());
        QCOMPARE(list->child(2), item);
        QCOMPARE(list->indexOfChild(item), 2);
        QCOMPARE(list->child(3), nullptr);
        list_->SetText(2, "<B>Gn 3:1</B>");
        QCOMPARE(item->text(QAccessible::Name), QString("Gn 3:1"));
        list_->Clear();
        Fill(2);
        QVERIFY(!item->isValid());
        QCOMPARE(list->indexOfChild(item), -1);
        QCOMPARE(list->childCount(), 2);
        QCOMPARE(list->child(2), nullptr);
    }

    void nestedSuspensionRepaintsOnceAtTheEnd() {
        PaintCounter paints;
        list_->viewport()->installEventFilter(&paints);
        list_->BeginUpdate();
        list_->BeginUpdate();
        Fill(30);
        list_->EndUpdate();
        QVERIFY(list_->Updating());
        QTest::qWait(50);
        list_->viewport()->update();  // as a change of the window's activation does
        QTest::qWait(50);
        QCOMPARE(paints.count, 0);
        list_->EndUpdate();
        QVERIFY(!list_->Updating());
        QTRY_VERIFY(paints.count > 0);
        list_->EndUpdate();  // one too many: nothing
        QVERIFY(!list_->Updating());
        // The scroll range takes the items added while suspended.
        QCOMPARE(list_->verticalScrollBar()->maximum(), 30 - list_->VisibleCount());
    }

    void scrollsSoThatAnItemIsFirst() {
        Fill(100);
        QCOMPARE(list_->VisibleCount(), 10);
        list_->SetTopIndex(42);
        QCOMPARE(list_->TopIndex(), 42);
        list_->SetTopIndex(95);  // as near as the end allows
        QCOMPARE(list_->TopIndex(), 90);
        list_->SetTopIndex(-3);
        QCOMPARE(list_->TopIndex(), 0);
        // Also right after items were added under suspension.
        list_->BeginUpdate();
        list_->Clear();
        for (int i = 0; i < 50; ++i)
            list_->Add("x");
        list_->SetTopIndex(30);
        list_->EndUpdate();
        QCOMPARE(list_->TopIndex(), 30);
    }

    void clickEventForTheUsersSelection() {
        Fill(40);
        QSignalSpy clicks(list_.get(), &THTMListBox::Click);
        list_->SetItemIndex(3);  // the program's own: no event
        QCOMPARE(clicks.count(), 0);
        list_->SetTopIndex(5);
        QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, RowCenter(7));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.last().at(0).toInt(), 7);
        QCOMPARE(list_->ItemIndex(), 7);
        QCOMPARE(list_->Value(list_->ItemIndex()), 1007);
        QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, QPoint(20, 14 * 10 - 1));
        QCOMPARE(list_->ItemIndex(), 14);
        // Keyboard: each move of the selection is a click.
        list_->setFocus();
        QTest::keyClick(list_.get(), Qt::Key_Down);
        QCOMPARE(clicks.last().at(0).toInt(), 15);
        QCOMPARE(list_->TopIndex(), 6);  // scrolled to keep it in view
        QTest::keyClick(list_.get(), Qt::Key_Home);
        QCOMPARE(clicks.last().at(0).toInt(), 0);
        QCOMPARE(list_->TopIndex(), 0);
        const int before = clicks.count();
        QTest::keyClick(list_.get(), Qt::Key_Up);  // already first: no change, no event
        QCOMPARE(clicks.count(), before);
        QTest::keyClick(list_.get(), Qt::Key_End);
        QCOMPARE(clicks.last().at(0).toInt(), 39);
        QTest::keyClick(list_.get(), Qt::Key_PageUp);
        QCOMPARE(list_->ItemIndex(), 30);
        // A click below the last item selects nothing.
        list_->Clear();
        list_->Add("seul", 5);
        clicks.clear();
        QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, RowCenter(4));
        QCOMPARE(clicks.count(), 0);
    }

    void selectionAndBackgroundColours() {
        list_->SetColor(QColor(240, 251, 255));
        list_->SetSelectionColor(Qt::yellow);
        list_->SetSelectionTextColor(Qt::black);
        Fill(5);
        list_->SetItemIndex(1);
        const QImage img = list_->viewport()->grab().toImage();
        QCOMPARE(img.pixelColor(190, 14 + 7), QColor(Qt::yellow));
        QCOMPARE(img.pixelColor(190, 7), QColor(240, 251, 255));
        QCOMPARE(img.pixelColor(190, 14 * 8), QColor(240, 251, 255));
    }

    void painterFollowsTheTags() {
        // IMG: an image number not below the count draws nothing, and the
        // rest of the text as usual.
        const ImageList nine = NineImages();
        QCOMPARE(nine.Count(), 9);
        QCOMPARE(Render(Layout("<IMG src=\"idx:9\">abc", nine)), Render(Layout("abc", nine)));
        QCOMPARE(Layout("<IMG src=\"idx:8\">abc", nine).Size().width(),
                 32 + Layout("abc", nine).Size().width());
        QVERIFY(Render(Layout("<IMG src=\"idx:8\">", nine)) != Render(Layout("", nine)));
        // FONT size 4 and 14 are both 14 points.
        QCOMPARE(Layout("<FONT size=\"4\">Abc</FONT>").Size(),
                 Layout("<FONT size=\"14\">Abc</FONT>").Size());
        QVERIFY(Layout("<FONT size=\"4\">Abc").Size().width() > Layout("Abc").Size().width());
        // IND moves right only.
        const qreal w = Layout("abcdefghij").Size().width();
        QCOMPARE(Layout("abcdefghij<IND x=\"5\">k").Size().width(),
                 Layout("abcdefghijk").Size().width());
        QCOMPARE(Layout("<IND x=\"50\">k").Size().width(), 50 + Layout("k").Size().width());
        QVERIFY(w > 5);
        // BR starts a line; bold is wider.
        QCOMPARE(Layout("a<BR>b").LineCount(), 2);
        QVERIFY(Layout("a<BR>b").Size().height() > Layout("ab").Size().height());
        QVERIFY(Layout("<B>Wide words</B>").Size().width() > Layout("Wide words").Size().width());
        // Colours: a FONT colour keeps its own even on a selected item.
        QImage red = Render(Layout("<FONT size=\"30\" color=\"clred\">\u2588</FONT>"));
        bool sawRed = false;
        for (int x = 0; x < red.width() && !sawRed; ++x)
            for (int y = 0; y < red.height(); ++y)
                if (red.pixelColor(x, y) == QColor(Qt::red)) sawRed = true;
        QVERIFY(sawRed);
        QCOMPARE(
            ResolveColor(minihtml::Color::System(minihtml::SystemColor::Highlight), QPalette()),
            QPalette().color(QPalette::Active, QPalette::Highlight));
    }

    void imageListsAreFullAndNeverBlank() {
        const struct {
            ImageList list;
            int count;
            int side;
        } lists[] = {{ImageList::Modules(), 14, 32},
                     {ImageList::Buttons(), 9, 24},
                     {ImageList::Forme(), 12, 16},
                     {ImageList::Fichier(), 8, 16}};
        for (const auto& l : lists) {
            QCOMPARE(l.list.Count(), l.count);
            QCOMPARE(l.list.Size(), QSize(l.side, l.side));
            for (int i = 0; i < l.count; ++i) {
                for (qreal scale : {1.0, 2.5}) {
                    const QImage img = l.list.Pixmap(i, scale).toImage();
                    QCOMPARE(img.size(), QSize(l.side, l.side) * scale);
                    int opaque = 0;
                    for (int y = 0; y < img.height(); ++y)
                        for (int x = 0; x < img.width(); ++x)
                            if (qAlpha(img.pixel(x, y)) > 128) ++opaque;
                    QVERIFY2(opaque > img.width() * img.height() / 20,
                             qPrintable(QString("image %1 of %2 is blank").arg(i).arg(l.side)));
                }
            }
            QVERIFY(l.list.Icon(l.count).isNull());
            QVERIFY(l.list.Pixmap(-1).isNull());
        }
        // The program's own drawings are there for whatever a theme lacks.
        QVERIFY(QFile::exists(":/lorvane/icons/m00-livres.svg"));
        QVERIFY(QFile::exists(":/lorvane/icons/d7-coller.svg"));
    }

    void labelButtonComboAndRadio() {
        THTMLabel label;
        label.SetImages(ImageList::Modules());
        label.SetText(
            "<IMG \"idx:4\"><B><FONT color=\"#FFFFFF\" face=\"Tahoma\" size=\"14\"> "
            "Thèmes</FONT></B>");
        QCOMPARE(label.Text(), QString("<IMG \"idx:4\"><B><FONT color=\"#FFFFFF\" face=\"Tahoma\" "
                                       "size=\"14\"> Thèmes</FONT></B>"));
        QVERIFY(label.sizeHint().height() >= 32);

        THTMLButton button("<IMG src=\"idx:1\">");
        button.SetImages(ImageList::Buttons());
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        button.click();  // by the program
        QCOMPARE(clicked.count(), 1);
        button.resize(33, 30);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);  // by the user
        QCOMPARE(clicked.count(), 2);
        QVERIFY(button.sizeHint().width() >= 24);

        THTMLComboBox combo;
        for (const char* name : {"Genèse", "Exode", "<B>Lévitique</B>"})
            combo.AddItem(QString::fromUtf8(name));
        QSignalSpy changes(&combo, &THTMLComboBox::Change);
        QCOMPARE(combo.Count(), 3);
        QCOMPARE(combo.itemText(2), QString::fromUtf8("Lévitique"));
        QCOMPARE(combo.ItemText(2), QString::fromUtf8("<B>Lévitique</B>"));
        combo.SetItemIndex(2);
        QCOMPARE(combo.ItemIndex(), 2);
        {
            const QSignalBlocker block(&combo);
            combo.setCurrentIndex(1);
        }
        QCOMPARE(changes.count(), 0);
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        combo.setFocus();
        QTest::keyClick(&combo, Qt::Key_Down);  // the user's own change
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.last().at(0).toInt(), 2);
        combo.Clear();
        QCOMPARE(changes.count(), 1);

        QWidget group;
        auto* passage = new THTMLRadioButton("le passage", &group);
        auto* chapitre = new THTMLRadioButton(QString::fromUtf8("tout le chapitre"), &group);
        passage->setChecked(true);
        chapitre->move(0, 30);
        group.resize(200, 60);
        group.show();
        QVERIFY(QTest::qWaitForWindowExposed(&group));
        QSignalSpy radioClicks(chapitre, &QAbstractButton::clicked);
        // A click on the caption, not only on the indicator.
        QTest::mouseClick(chapitre, Qt::LeftButton, {},
                          QPoint(chapitre->width() - 5, chapitre->height() / 2));
        QCOMPARE(radioClicks.count(), 1);
        QVERIFY(chapitre->isChecked());
        QVERIFY(!passage->isChecked());
        passage->click();
        QVERIFY(passage->isChecked());
        QVERIFY(!chapitre->isChecked());
    }

    // Typing in a closed or open list finds an item whatever its accents
    // and capitals.
    void typingFindsBooksWithoutAccents() {
        THTMLComboBox combo;
        for (const char* name :
             {"Genèse", "Esdras", "Néhémie", "Ecclésiaste", "Ésaïe", "Éphésiens"})
            combo.AddItem(QString::fromUtf8(name));
        combo.SetItemIndex(0);
        QSignalSpy changes(&combo, &THTMLComboBox::Change);
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        combo.setFocus();
        auto type = [&combo](const char* keys) {
            QTest::qWait(QApplication::keyboardInputInterval() + 50);  // a new text
            QTest::keyClicks(&combo, QString::fromUtf8(keys));
            return combo.currentText();
        };
        QCOMPARE(type("Esaie"), QString::fromUtf8("Ésaïe"));
        QCOMPARE(changes.last().at(0).toInt(), 4);
        QCOMPARE(type("ecc"), QString::fromUtf8("Ecclésiaste"));
        QCOMPARE(type("NEHE"), QString::fromUtf8("Néhémie"));
        QCOMPARE(type("eee"), QString::fromUtf8("Éphésiens"));  // the same letter steps on
        QCOMPARE(type("es"), QString::fromUtf8("Esdras"));
        combo.showPopup();
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(combo.view(), QStringLiteral("esa"));
        QCOMPARE(combo.view()->currentIndex().row(), 4);
    }
};

QTEST_MAIN(HtmlWidgetsTest)
#include "HtmlWidgetsTest.moc"
