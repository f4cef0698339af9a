// The search pane on its own, over a small generated Bible.

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <stdexcept>

#include "FctLoad.h"
#include "Fixtures.h"
#include "HTMListBox.h"
#include "HistoryEdit.h"
#include "MiniHtmlPainter.h"
#include "SearchEngine.h"
#include "SearchPane.h"

using namespace lorvane;

namespace {

// Runs `check` on the first visible message box that shows up while the
// program runs its loops, polling every few milliseconds.
void WhenBoxShown(std::function<void(QMessageBox*)> check) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, check] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                timer->stop();
                timer->deleteLater();
                check(box);
                return;
            }
        }
    });
    timer->start();
}

// 66 books "Livre N" / "LN" of 2 chapters. Book 1: two chapters of 100
// verses "manne b.c.v"; book 2: 100 and 99 of them; the other books: 3
// verses "texte" per chapter, with a few special verses in books 40 and 43.
testing::DataSet Bible() {
    testing::DataSet d;
    for (int b = 1; b <= 66; ++b) {
        d.books.push_back({"Livre " + std::to_string(b), "L" + std::to_string(b), 2});
        for (int c = 1; c <= 2; ++c) {
            const int verses = b == 1 ? 100 : b == 2 ? (c == 1 ? 100 : 99) : 3;
            for (int v = 1; v <= verses; ++v) {
                std::string text = b <= 2 ? "manne " + std::to_string(b) + "." + std::to_string(c) +
                                                "." + std::to_string(v)
                                          : "texte";
                if (b == 40 && c == 1 && v == 1) text = "Dieu dit: que la lumi\xE8re soit";
                if (b == 40 && c == 2 && v == 3)
                    text =
                        "les t\xE9n\xE8"
                        "bres et la lumi\xE8re";
                if (b == 43 && c == 1 && v == 2) text = "le dieu <des> \"nations\" & 'l\xE0'";
                d.verses.push_back({b, c, v, text});
            }
        }
    }
    d.pages = testing::TinyPages();
    return d;
}

// Types a text key by key, accented letters included.
void Type(QWidget* w, const QString& text) {
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

const QString kOpen = QStringLiteral("<FONT color=\"#C00400\">");
const QString kClose = QStringLiteral("</FONT>");

}  // namespace

class SearchPaneTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempDir> dir;
    std::unique_ptr<Communs> communs;
    std::unique_ptr<TPanneauRechercher> pane;
    ReadingPlace place;

    void Search(const QString& query, int scope, int method = 0) {
        pane->EditRech->setText(query);
        pane->CBRechMethode->setCurrentIndex(method);
        pane->CBRechDans->setCurrentIndex(scope);
        pane->BtnRech->click();
    }
    QString Item(int i) { return pane->LBRech->Text(i); }

  private slots:
    void initTestCase() {
        dir = std::make_unique<testing::TempDir>();
        testing::WriteDataFolder(dir->path(), Bible());
        communs = std::make_unique<Communs>(dir->appDir());
        LoadAllTables(*communs);
    }
    void init() {
        place = {1, 1};
        pane = std::make_unique<TPanneauRechercher>(*communs, [this] { return place; });
        pane->resize(300, 400);
        pane->show();
        pane->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pane.get()));
    }
    void cleanup() { pane.reset(); }

    void stripLayout() {
        QCOMPARE(pane->PanelRech->height(), 101);
        QVERIFY(pane->PanelRech->autoFillBackground());
        QCOMPARE(pane->PanelRech->palette().color(QPalette::Window), QColor(Qt::white));
        const QColor caption = ResolveColor(
            minihtml::Color::System(minihtml::SystemColor::InactiveCaption), QPalette());
        const std::pair<QLabel*, QWidget*> rows[] = {{pane->LabelTexte, pane->EditRech},
                                                     {pane->LabelMethode, pane->CBRechMethode},
                                                     {pane->LabelDans, pane->CBRechDans}};
        const QStringList labels = {"Texte", QString::fromUtf8("Méthode"), "Dans"};
        for (int i = 0; i < 3; ++i) {
            auto [label, input] = rows[i];
            QCOMPARE(label->text(), labels[i]);
            QCOMPARE(label->palette().color(QPalette::WindowText), caption);
            QCOMPARE(label->buddy(), input);
            // What a screen reader says: the field by what is typed there.
            QCOMPARE(input->accessibleName(),
                     i == 0 ? QString::fromUtf8("Mots à chercher") : labels[i]);
            QVERIFY(label->geometry().right() < input->geometry().left());
            QVERIFY(qAbs(label->geometry().center().y() - input->geometry().center().y()) <= 2);
        }
        QCOMPARE(pane->BtnRech->text(), QString("Rechercher..."));
        QCOMPARE(pane->BtnRech->accessibleName(), QString("Rechercher..."));
        QCOMPARE(pane->BtnRech->size(), QSize(84, 21));
        QCOMPARE(pane->BtnRech->y(), pane->CBRechDans->y());
        QVERIFY(pane->CBRechDans->geometry().right() < pane->BtnRech->x());

        QCOMPARE(pane->CBRechMethode->count(), 3);
        QCOMPARE(pane->CBRechMethode->itemText(0), QString("Versets contenant le(s) mot(s)"));
        QCOMPARE(pane->CBRechMethode->itemText(1), QString("Versets contenant la phrase exacte"));
        QCOMPARE(pane->CBRechMethode->itemText(2), QString("Mots, sans accents ni majuscules"));
        QVERIFY(!pane->CBRechMethode->isEditable());
        // The list's tooltip says how the method chosen matches.
        QVERIFY(pane->CBRechMethode->toolTip().contains(QString::fromUtf8("« paroi »")));
        pane->CBRechMethode->setCurrentIndex(1);
        QVERIFY(pane->CBRechMethode->toolTip().contains("phrase exacte"));
        pane->CBRechMethode->setCurrentIndex(2);
        QVERIFY(pane->CBRechMethode->toolTip().contains("mots entiers"));
        QVERIFY(pane->CBRechMethode->toolTip().contains(QString::fromUtf8("« aim* »")));
        QCOMPARE(pane->CBRechMethode->itemData(2, Qt::ToolTipRole), pane->CBRechMethode->toolTip());

        QCOMPARE(pane->CBRechDans->count(), 5);
        QCOMPARE(pane->CBRechDans->itemText(0), QString("ce chapitre"));
        QCOMPARE(pane->CBRechDans->itemText(4), QString("Toute la Bible"));
        QVERIFY(!pane->CBRechDans->isEditable());

        // The inputs stretch with the pane; the button keeps to its right edge.
        const int edit = pane->EditRech->width(), dans = pane->CBRechDans->width();
        const int margin = pane->width() - pane->BtnRech->geometry().right();
        pane->resize(500, 400);
        QTRY_COMPARE(pane->EditRech->width(), edit + 200);
        QCOMPARE(pane->CBRechMethode->width(), edit + 200);
        QCOMPARE(pane->CBRechDans->width(), dans + 200);
        QCOMPARE(pane->width() - pane->BtnRech->geometry().right(), margin);
        QCOMPARE(pane->EditRech->geometry().right(), pane->BtnRech->geometry().right());

        // The results fill the rest.
        QCOMPARE(pane->LBRech->y(), 101);
        QCOMPARE(pane->LBRech->height(), pane->height() - 101);
        QCOMPARE(pane->LBRech->ItemHeight(), 14);
    }

    void resultsCountLineAndColours() {
        Search("dieu", 2);
        QCOMPARE(pane->LBRech->Count(), 3);
        QCOMPARE(Item(0),
                 QString::fromUtf8("<FONT color=\"gray\"><B>2 versets trouvés</B></FONT>"));
        QCOMPARE(pane->LBRech->Value(0), 0);
        QCOMPARE(Item(1), "<B>L40 1:1</B> : " + kOpen + "Dieu" + kClose +
                              QString::fromUtf8(" dit: que la lumière soit"));
        QCOMPARE(pane->LBRech->Value(1), 40001);
        // Verse text goes in as stored, brackets and quotes included.
        QCOMPARE(Item(2), "<B>L43 1:2</B> : le " + kOpen + "dieu" + kClose +
                              QString::fromUtf8(" <des> \"nations\" & 'là'"));
        QCOMPARE(pane->LBRech->Value(2), 43001);
        QCOMPARE(pane->LBRech->TopIndex(), 0);
        QVERIFY(!pane->LBRech->Updating());
        QVERIFY(!QApplication::overrideCursor());

        Search(QString::fromUtf8("ténèbres lumière"), 4);
        QCOMPARE(pane->LBRech->Count(), 2);
        QCOMPARE(Item(0), QString::fromUtf8("<FONT color=\"gray\"><B>1 verset trouvé</B></FONT>"));
        QCOMPARE(pane->LBRech->Value(1), 40002);

        for (const char* nothing : {"", "manne", "dieu soleil"}) {
            Search(QString::fromUtf8(nothing), 2);
            QCOMPARE(pane->LBRech->Count(), 1);
            QCOMPARE(Item(0),
                     QString::fromUtf8("<FONT color=\"gray\"><B>Aucun verset trouvé</B></FONT>"));
        }
        // A character that Windows-1252 lacks is in no verse.
        Search(QString::fromUtf8("lumière ŝ"), 4);
        QCOMPARE(pane->LBRech->Count(), 1);

        // Typographic apostrophes find the stored one.
        Search(QString::fromUtf8("‘là’"), 4, 1);
        QCOMPARE(pane->LBRech->Count(), 2);
        // Nothing found, while the accent-blind method would find some.
        Search(QString::fromUtf8("LUMIÈRE"), 4);
        QCOMPARE(pane->LBRech->Count(), 1);
        QCOMPARE(Item(0), QString::fromUtf8("<FONT color=\"gray\"><B>Aucun verset trouvé. Essayez "
                                            "la méthode « Mots, sans accents ni majuscules "
                                            "».</B></FONT>"));
        // Whatever the accents and capitals; the folded copy is made once.
        Search(QString::fromUtf8("DIEU LUMIERE"), 4, 2);
        const FoldedVerses* folded = pane->FoldedCopy();
        QVERIFY(folded);
        QCOMPARE(pane->LBRech->Count(), 2);
        QCOMPARE(Item(1), "<B>L40 1:1</B> : " + kOpen + "Dieu" + kClose + " dit: que la " + kOpen +
                              QString::fromUtf8("lumière") + kClose + " soit");
        Search(QString::fromUtf8("dieu"), 4, 2);
        QCOMPARE(pane->LBRech->Count(), 3);
        QCOMPARE(pane->FoldedCopy(), folded);
    }

    void capLineAtTheHeadOfTheList() {
        // Old Testament: 399 verses of "manne"; the first 200 show.
        Search("manne", 3);
        QCOMPARE(pane->LBRech->Count(), 201);
        QCOMPARE(Item(0), QString::fromUtf8("<FONT color=\"gray\"><B>399 versets trouvés ; seuls "
                                            "les 200 premiers, dans l'ordre de la Bible, sont "
                                            "affichés. Ajoutez des mots ou limitez la zone de "
                                            "recherche.</B></FONT>"));
        QCOMPARE(pane->LBRech->Value(0), 0);
        QCOMPARE(Item(200), "<B>L1 2:100</B> : " + kOpen + "manne" + kClose + " 1.2.100");
        QCOMPARE(pane->ResultVerse(200), 100);
        QVERIFY(!pane->LBRech->Updating());
        QVERIFY(!QApplication::overrideCursor());

        // Book 1: exactly 200 verses, all shown.
        Search("manne", 1);
        QCOMPARE(pane->LBRech->Count(), 201);
        QCOMPARE(Item(0),
                 QString::fromUtf8("<FONT color=\"gray\"><B>200 versets trouvés</B></FONT>"));
    }

    void scopeFollowsTheChapterShown() {
        place = {2, 2};
        Search("manne", 0);
        QCOMPARE(pane->LBRech->Count(), 100);
        QCOMPARE(pane->LBRech->Value(1), 2002);
        place = {1, 1};
        Search("manne 1.1.", 0);
        QCOMPARE(pane->LBRech->Count(), 101);
        QCOMPARE(pane->LBRech->Value(100), 1001);
    }

    void enterSearchesAndHistoryCompletes() {
        THistoryEdit* edit = pane->EditRech;
        pane->CBRechDans->setCurrentIndex(4);
        edit->setFocus();
        Type(edit, QString::fromUtf8("lumière"));
        QCOMPARE(edit->text(), QString::fromUtf8("lumière"));
        QTest::keyClick(edit, Qt::Key_Return);  // Enter runs the search and keeps the query
        QCOMPARE(pane->LBRech->Count(), 3);
        QCOMPARE(edit->History(), QStringList{QString::fromUtf8("lumière")});

        // A query differing in its capitals runs as typed and is kept apart.
        edit->selectAll();
        Type(edit, QString::fromUtf8("Lumière"));
        QCOMPARE(edit->text(), QString::fromUtf8("Lumière"));  // no completion from "lumière"
        QTest::keyClick(edit, Qt::Key_Enter);
        QCOMPARE(edit->text(), QString::fromUtf8("Lumière"));
        QCOMPARE(pane->LBRech->Count(), 1);  // "Lumière" is in no verse
        edit->setText(QString::fromUtf8("LUMIÈRE"));
        pane->CBRechDans->setFocus();
        QTRY_VERIFY(!edit->hasFocus());
        QCOMPARE(edit->History().size(), 3);

        // Typing completes from the history, capitals included, the rest
        // selected; Enter runs what was typed, End takes the completion.
        edit->setFocus();
        edit->clear();
        Type(edit, "lu");
        QCOMPARE(edit->text(), QString::fromUtf8("lumière"));
        QCOMPARE(edit->selectedText(), QString::fromUtf8("mière"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), QString("lu"));
        QCOMPARE(pane->LBRech->Count(), 3);  // "lu" in the same verses, and more
        edit->clear();
        Type(edit, "lu");
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), QString::fromUtf8("lumière"));
        edit->clear();
        Type(edit, "LU");
        QCOMPARE(edit->text(), QString::fromUtf8("LUMIÈRE"));
        QTest::keyClick(edit, Qt::Key_Backspace);  // no completion after Backspace
        QCOMPARE(edit->text(), QString("LU"));
        Type(edit, "x");
        QCOMPARE(edit->text(), QString("LUx"));

        // A completion makes at most 255 characters.
        edit->Remember(QString(300, 'q'));
        edit->clear();
        Type(edit, "q");
        QCOMPARE(edit->text(), QString(255, 'q'));
    }

    // An error inside the search still finishes it (count line, repainting,
    // cursor), then reaches the default error display.
    void errorFinishesTheSearchThenShows() {
        bool started = false;
        TPanneauRechercher failing(*communs, [&started]() -> ReadingPlace {
            started = QApplication::overrideCursor() != nullptr;
            throw std::out_of_range("no such place");
        });
        QStringList boxes;
        WhenBoxShown([&](QMessageBox* error) {
            boxes << error->objectName();
            // In French, whatever the internal reason.
            QCOMPARE(error->text(), QString::fromUtf8("La recherche a été interrompue par une "
                                                      "erreur interne."));
            QCOMPARE(error->icon(), QMessageBox::Critical);
            QVERIFY(!failing.LBRech->Updating());
            QCOMPARE(failing.LBRech->Count(), 1);
            error->button(QMessageBox::Ok)->click();
        });
        failing.EditRech->setText("manne");
        failing.BtnRech->click();
        QVERIFY(started);
        QCOMPARE(boxes, QStringList{"DefaultErrorBox"});
        QCOMPARE(failing.LBRech->Text(0),
                 QString::fromUtf8("<FONT color=\"gray\"><B>Aucun verset trouvé</B></FONT>"));
        QVERIFY(!QApplication::overrideCursor());
    }

    // A press of the button while a search runs (the accessibility bus can
    // bring one) starts nothing.
    void noSearchWhileOneRuns() {
        int asked = 0;
        bool searching = false;
        TPanneauRechercher* self = nullptr;
        TPanneauRechercher own(*communs, [&]() {
            ++asked;
            searching = self->Searching();
            self->BtnRech->click();
            self->EditRechKeyPress(13);
            return ReadingPlace{1, 1};
        });
        self = &own;
        own.EditRech->setText("manne");
        own.CBRechDans->setCurrentIndex(1);
        own.BtnRech->click();
        QCOMPARE(asked, 1);
        QVERIFY(searching);
        QVERIFY(!own.Searching());
        QCOMPARE(own.LBRech->Count(), 201);
        // The items know their verses; the count line names none.
        QCOMPARE(own.ResultVerse(200), 100);
        QCOMPARE(own.ResultVerse(0), 1);
        QCOMPARE(own.ResultVerse(201), 1);
    }

    // The method and scope the reader chose come back at the next start; a
    // first start, or a damaged file, gives words in the New Testament.
    void methodAndScopeKeptForTheNextStart() {
        testing::TempDir home;
        const QByteArray before = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(QString::fromStdString(home.path().string())));
        auto fresh = [this] { return std::make_unique<TPanneauRechercher>(*communs, nullptr); };
        auto first = fresh();
        QCOMPARE(first->CBRechMethode->currentIndex(), kSearchWords);
        QCOMPARE(first->CBRechDans->currentIndex(), kScopeNewTestament);
        first->CBRechMethode->setCurrentIndex(kSearchFolded);
        emit first->CBRechMethode->activated(kSearchFolded);
        first->CBRechDans->setCurrentIndex(kScopeWholeBible);
        emit first->CBRechDans->activated(kScopeWholeBible);
        auto second = fresh();
        QCOMPARE(second->CBRechMethode->currentIndex(), kSearchFolded);
        QCOMPARE(second->CBRechDans->currentIndex(), kScopeWholeBible);
        QVERIFY(second->CBRechMethode->toolTip().contains("mots entiers"));

        QFile file(QString::fromStdString((home.path() / "lorvane" / "recherche.txt").string()));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("methode=9\n\xff\xfe garbage\ndans=0\n");
        file.close();
        auto damaged = fresh();
        QCOMPARE(damaged->CBRechMethode->currentIndex(), kSearchWords);
        QCOMPARE(damaged->CBRechDans->currentIndex(), kScopeChapter);  // the line understood
        qputenv("XDG_CONFIG_HOME", before);
    }

    // After an import the folded search reads the new text, not a copy of
    // the old one.
    void importedTablesAreSearchedAfresh() {
        Communs mine(dir->appDir());
        LoadAllTables(mine);
        TPanneauRechercher own(mine, [] { return ReadingPlace{}; });
        own.EditRech->setText("LUMIERE");
        own.CBRechMethode->setCurrentIndex(kSearchFolded);
        own.CBRechDans->setCurrentIndex(kScopeWholeBible);
        own.BtnRechClick();
        QVERIFY(own.FoldedCopy());

        testing::TempDir other;
        testing::DataSet d = Bible();
        for (auto& v : d.verses)
            if (v.book == 40) v.text = "texte";
        d.verses[5].text = "la Lumi\xE8re du ciel";
        testing::WriteDataFolder(other.path(), d);
        Communs imported(other.appDir());
        LoadAllTables(imported);
        mine.TakeTables(std::move(imported));
        own.TablesReplaced();
        QCOMPARE(own.LBRech->Count(), 0);
        QVERIFY(!own.FoldedCopy());

        own.BtnRechClick();
        QCOMPARE(own.LBRech->Count(), 2);
        QCOMPARE(own.LBRech->Text(1), "<B>L1 1:6</B> : la " + kOpen + QString::fromUtf8("Lumière") +
                                          kClose + " du ciel");
        QCOMPARE(own.ResultVerse(1), 6);
    }
};

QTEST_MAIN(SearchPaneTest)
#include "SearchPaneTest.moc"
