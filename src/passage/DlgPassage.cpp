#include "DlgPassage.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "BrowserPane.h"
#include "ErrorDisplay.h"
#include "FctLoad.h"
#include "HTMLControls.h"
#include "ImageList.h"
#include "QtPath.h"
#include "QtText.h"

namespace lorvane {

TFDlgPassage::TFDlgPassage(PassageHost& host, QWidget* owner)
    // A title bar with the system menu and the close box only.
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      host_(host) {
    setObjectName("FDlgPassage");
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    resize(300, 250);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel4 = new QWidget(this);
    Panel4->setObjectName("Panel4");
    Panel4->setFixedHeight(38);
    Panel4->setAutoFillBackground(true);
    QPalette white = Panel4->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel4->setPalette(white);
    auto* strip = new QHBoxLayout(Panel4);
    strip->setContentsMargins(6, 0, 0, 0);
    strip->setSpacing(8);
    auto* label1 = new QLabel(QStringLiteral("Afficher"), Panel4);
    label1->setObjectName("Label1");
    QPalette gray = label1->palette();
    gray.setColor(QPalette::WindowText, Qt::gray);
    label1->setPalette(gray);
    CheckPassage = new THTMLRadioButton(QStringLiteral("le passage"), Panel4);
    CheckPassage->setObjectName("CheckPassage");
    CheckChapitre = new THTMLRadioButton(QString::fromUtf8("tout le chapitre"), Panel4);
    CheckChapitre->setObjectName("CheckChapitre");
    CheckPassage->setChecked(true);
    strip->addWidget(label1);
    strip->addWidget(CheckPassage);
    strip->addWidget(CheckChapitre);
    strip->addStretch(1);

    Panel2 = new QWidget(Panel4);
    Panel2->setObjectName("Panel2");
    Panel2->setFixedWidth(73);
    auto* right = new QHBoxLayout(Panel2);
    right->setContentsMargins(0, 0, 4, 0);
    right->addStretch(1);
    BtnNouveau = new THTMLButton(Panel2);
    BtnNouveau->setObjectName("BtnNouveau");
    BtnNouveau->SetImages(ImageList::Buttons());
    BtnNouveau->setText(QStringLiteral("<IMG src=\"idx:1\">"));
    BtnNouveau->setToolTip(QString::fromUtf8("Créer un onglet"));
    BtnNouveau->setFixedSize(33, 30);
    // Flat and white: a frame shows only under the mouse, on white.
    BtnNouveau->SetFlat(true);
    QPalette whiteButton = BtnNouveau->palette();
    whiteButton.setColor(QPalette::Button, Qt::white);
    whiteButton.setColor(QPalette::Window, Qt::white);
    BtnNouveau->setPalette(whiteButton);
    right->addWidget(BtnNouveau);
    strip->addWidget(Panel2);
    column->addWidget(Panel4);

    WB = new TBrowserPane(this);
    WB->setObjectName("WB");
    WB->Browser()->setAccessibleName(QStringLiteral("Passage"));
    column->addWidget(WB, 1);

    // A page that cannot be written reaches the default error display.
    for (THTMLRadioButton* b : {CheckPassage, CheckChapitre})
        connect(b, &THTMLRadioButton::clicked, this, GuardedSlot([this] { CheckPassageClick(); }));
    connect(BtnNouveau, &THTMLButton::clicked, this, GuardedSlot([this] { BtnNouveauClick(); }));

    // Keys typed in any control reach the window first.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

void TFDlgPassage::ShowPassage() {
    Communs& c = host_.Data();
    // A link to a verse that the text does not hold names no passage,
    // unless a Bible beside it holds it.
    TVerset first;
    int lastVerse = 0;
    if (FirstSlot >= 1 && FirstSlot <= c.VerseSlotCount()) {
        first = c.VerseTable[FirstSlot];
        lastVerse =
            (LastSlot >= 1 && LastSlot <= c.VerseSlotCount()) ? c.VerseTable[LastSlot].Verse : 0;
    } else if (Elsewhere.Book >= 1 && Elsewhere.Book <= kBookCount) {
        first = {Elsewhere.Book, Elsewhere.Chapter, Elsewhere.FirstVerse, {}};
        lastVerse = Elsewhere.LastVerse;
    } else {
        return;
    }

    WriteWholeFile(c.Path("temp0.htm"), {});
    const QString folder = FileUrl(c.AppDir);
    WB->Navigate(folder + QStringLiteral("temp0.htm"));
    setWindowTitle(FromUtf8(c.FormatRef(first.Book, first.Chapter, first.Verse, lastVerse)));
    if (host_.WriteChapterPage(first.Book, first.Chapter, first.Verse, lastVerse, true,
                               CheckChapitre->isChecked()))
        WB->Navigate(folder + QStringLiteral("temp2.htm"));
    if (!isVisible()) {
        if (!placed_) {
            move(365, 163);
            placed_ = true;
        }
        show();
        // Shown from hidden, it takes the activation, so that Escape closes
        // it at once, and the keyboard is in the passage, to read it. An
        // open window is neither raised nor activated.
        raise();
        activateWindow();
        WB->setFocus(Qt::ActiveWindowFocusReason);
    }
}

void TFDlgPassage::CheckPassageClick() {
    ShowPassage();
}

void TFDlgPassage::BtnNouveauClick() {
    Communs& c = host_.Data();
    if (FirstSlot >= 1 && FirstSlot <= c.VerseSlotCount()) {
        const TVerset& first = c.VerseTable[FirstSlot];
        host_.TakeIntoNewTab(first.Book, first.Chapter, first.Verse);
    } else if (Elsewhere.Book >= 1 && Elsewhere.Book <= kBookCount) {
        host_.TakeIntoNewTab(Elsewhere.Book, Elsewhere.Chapter, Elsewhere.FirstVerse);
    }
}

bool TFDlgPassage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        hide();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFDlgPassage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFDlgPassage::Open(const VerseRef& range) {
    const ReadingCore* reading = Followed();
    if (!reading) return;
    const Communs& tables = reading->Tables();
    const auto [book, chapter, firstVerse, lastVerse] = range;
    const std::int32_t first = tables.VerseLookup(book, chapter, firstVerse);
    VerseRef elsewhere;
    if (first == 0) {
        for (const ComparedBible& b : reading->Comparison().Others()) {
            if (b.tables->VerseLookup(book, chapter, firstVerse) == 0) continue;
            const bool hasLast = b.tables->VerseLookup(book, chapter, lastVerse) != 0;
            elsewhere = {book, chapter, firstVerse, hasLast ? lastVerse : 0};
            break;
        }
        if (elsewhere.Book == 0) return;
    }
    const std::int32_t last = tables.VerseLookup(book, chapter, lastVerse);
    FirstSlot = first;
    LastSlot = last != 0 ? last : first;
    Elsewhere = elsewhere;
    ShowPassage();
}

void TFDlgPassage::TablesChanged() {
    close();
}

void TFDlgPassage::ComparisonChanged() {
    if (!isVisible() || !Followed()) return;
    // A passage only a Bible beside had goes with that Bible.
    if (FirstSlot == 0 && !Followed()->Comparison().Active())
        close();
    else
        ShowPassage();
}

}  // namespace lorvane
