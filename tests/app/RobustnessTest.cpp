// The main window at its edges: activations from other programs, links to
// verses the text lacks, and errors that reach the default error display,
// under the program's own application object.

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "AppFixture.h"
#include "Application.h"
#include "Bible.h"
#include "BrowserPane.h"
#include "DlgPassage.h"
#include "HTMLControls.h"

using namespace lorvane;
namespace fs = std::filesystem;

namespace {

// What the default error display showed.
struct Box {
    bool seen = false;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

// Closes the next message box with OK, noting what it showed.
void CloseNextBox(Box& box) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &box] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* m = qobject_cast<QMessageBox*>(w);
            if (!m || !m->isVisible()) continue;
            timer->stop();
            timer->deleteLater();
            box = {true, m->windowTitle(), m->text(), m->icon(),
                   static_cast<int>(m->buttons().size())};
            m->button(QMessageBox::Ok)->click();
            return;
        }
    });
    timer->start();
}

// A widget whose click handler fails.
class Failing : public QWidget {
  protected:
    void mousePressEvent(QMouseEvent*) override {
        throw std::runtime_error("panne du gestionnaire");
    }
};

}  // namespace

class RobustnessTest : public testing::MainWindowTestCase {
    Q_OBJECT

    fs::path Temp() { return dir->path() / "temp.htm"; }
    void Activate(QWidget* window) {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

  private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Lorvane")); }

    void init() {
        Open(testing::MainWindowBible());
        QVERIFY(w->Loaded());
        w->resize(900, 650);
        Activate(w);
    }
    void cleanup() { Close(); }

    void onlyTheProgramsOwnWindowsCountAsActivations() {
        // Coming back from another program changes nothing: the page is not
        // rewritten and the glossary stays where the reader left it.
        w->findChild<THTMLButton*>("BtnLettreN")->click();
        QWidget other;
        other.setWindowTitle("Un autre programme");
        other.resize(200, 100);
        Activate(&other);
        fs::remove(Temp());
        Activate(w);
        QTest::qWait(50);
        QVERIFY(!fs::exists(Temp()));
        QVERIFY(w->WBGlossaire->LocationURL().endsWith("glossaire.htm#N"));

        // Coming back from the passage window does.
        w->OpenPassage(19, 23, 1, 6);
        Activate(w->FDlgPassage);
        Activate(w);
        QTRY_VERIFY(fs::exists(Temp()));
        QVERIFY(w->WBGlossaire->LocationURL().endsWith("glossaire.htm#A"));

        // And from a message box of the program.
        w->findChild<THTMLButton*>("BtnLettreN")->click();
        fs::remove(Temp());
        Box box;
        CloseNextBox(box);
        QMessageBox::information(w, "Information", "Bonjour");
        QVERIFY(box.seen);
        Activate(w);
        QTRY_VERIFY(fs::exists(Temp()));
        QVERIFY(w->WBGlossaire->LocationURL().endsWith("glossaire.htm#A"));

        // The passage window left for another program, then the main window:
        // the reader came from elsewhere.
        Activate(w->FDlgPassage);
        Activate(&other);
        fs::remove(Temp());
        Activate(w);
        QTest::qWait(50);
        QVERIFY(!fs::exists(Temp()));
    }

    void aLinkToAMissingVerseLeavesThePassageWindowAsItWas() {
        w->OpenPassage(19, 23, 1, 6);
        TFDlgPassage* p = w->FDlgPassage;
        const QString title = p->windowTitle();
        const QString page = p->WB->LocationURL();
        const std::int32_t first = p->FirstSlot, last = p->LastSlot;
        w->OpenPassage(43, 3, 99, 99);
        QCOMPARE(p->windowTitle(), title);
        QCOMPARE(p->WB->LocationURL(), page);
        QCOMPARE(p->FirstSlot, first);
        QCOMPARE(p->LastSlot, last);
        // Its controls still work on the passage it shows.
        p->CheckChapitre->click();
        QVERIFY(testing::ReadFile(dir->path() / "temp2.htm").find("Texte 19.23.20") !=
                std::string::npos);
        p->BtnNouveau->click();
        QCOMPARE(w->Here().book, 19);
        QCOMPARE(w->Here().chapter, 23);
        // A last verse the chapter lacks shows the first alone.
        w->OpenPassage(19, 23, 4, 99);
        QCOMPARE(p->windowTitle(), QString("Psaumes 23:4"));
    }

    void aPageThatCannotBeWrittenReachesTheDefaultErrorDisplay() {
        w->OpenPassage(19, 23, 1, 6);
        fs::remove(dir->path() / "temp0.htm");
        fs::create_directory(dir->path() / "temp0.htm");
        Box box;
        CloseNextBox(box);
        QTest::mouseClick(w->FDlgPassage->CheckChapitre, Qt::LeftButton, {},
                          QPoint(5, w->FDlgPassage->CheckChapitre->height() / 2));
        QTRY_VERIFY(box.seen);
        QCOMPARE(box.title, QString("Lorvane"));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttons, 1);
        QVERIFY2(box.text.contains("temp0.htm"), qPrintable(box.text));
        // The program goes on, and works again once the file can be written.
        fs::remove(dir->path() / "temp0.htm");
        QVERIFY(w->isVisible());
        w->FDlgPassage->CheckPassage->click();
        QVERIFY(fs::is_regular_file(dir->path() / "temp0.htm"));
        QCOMPARE(w->FDlgPassage->windowTitle(), QString("Psaumes 23:1-6"));
    }

    void anEventHandlerThatFailsDoesNotEndTheProgram() {
        Failing failing;
        failing.resize(100, 50);
        failing.show();
        QVERIFY(QTest::qWaitForWindowExposed(&failing));
        Box box;
        CloseNextBox(box);
        QTest::mouseClick(&failing, Qt::LeftButton);
        QTRY_VERIFY(box.seen);
        QCOMPARE(box.text, QString("panne du gestionnaire"));
        QCOMPARE(box.title, QString("Lorvane"));
        QVERIFY(w->isVisible());
    }
};

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    RobustnessTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RobustnessTest.moc"
