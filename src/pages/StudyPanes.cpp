#include "StudyPanes.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include "BrowserPane.h"
#include "HTMLControls.h"
#include "ImageList.h"
#include "QtPath.h"
#include "StudyLinks.h"

namespace lorvane {
namespace {

QVBoxLayout* Column(QWidget* owner) {
    auto* column = new QVBoxLayout(owner);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    return column;
}

// A bar in the window colour above a pane.
QWidget* Bar(QWidget* owner, const char* name, int height) {
    auto* bar = new QWidget(owner);
    bar->setObjectName(name);
    bar->setFixedHeight(height);
    bar->setAutoFillBackground(true);
    bar->setBackgroundRole(QPalette::Base);
    return bar;
}

bool IsPageFile(const QString& path) {
    return IsRegularFile(PathFromQt(path));
}

// Carries out a decision; true when the navigation may proceed. A link
// whose action fails does nothing, without a message.
bool Follow(const StudyLinkDecision& d, StudyHost& host) {
    try {
        if (d.kind == StudyLinkDecision::OpenBook) host.OpenBook(d.book);
        if (d.kind == StudyLinkDecision::OpenPassage)
            host.OpenPassage(d.passage.Book, d.passage.Chapter, d.passage.FirstVerse,
                             d.passage.LastVerse);
    } catch (...) {
    }
    return d.kind == StudyLinkDecision::Proceed;
}

void ConnectPane(TBrowserPane* pane, QObject* owner,
                 std::function<void(const QString&, bool&)> handler) {
    QObject::connect(pane, &TBrowserPane::BeforeNavigate2, owner,
                     [handler](const QString& url, bool* cancel) { handler(url, *cancel); });
}

}  // namespace

QString StudyPageUrl(const std::string& appDir, const QString& name) {
    return FileUrl(appDir) + QStringLiteral("them/") + name;
}

// ---- Book table -----------------------------------------------------------

TPanneauLivres::TPanneauLivres(const std::string& appDir, StudyHost& host, QWidget* parent)
    : QWidget(parent), appDir_(appDir), host_(host) {
    setObjectName("PanneauLivres");
    WBLivres = new TBrowserPane(this);
    WBLivres->setObjectName("WBLivres");
    WBLivres->Browser()->setAccessibleName(QStringLiteral("Table des livres"));
    Column(this)->addWidget(WBLivres);
    ConnectPane(WBLivres, this,
                [this](const QString& url, bool& cancel) { WBLivresBeforeNavigate2(url, cancel); });
}

void TPanneauLivres::LoadPage() {
    WBLivres->Navigate(StudyPageUrl(appDir_, QStringLiteral("livres.htm")));
}

void TPanneauLivres::WBLivresBeforeNavigate2(const QString& url, bool& cancel) {
    cancel = !Follow(BookTableLink(url), host_);
}

// ---- Themes ---------------------------------------------------------------

TPanneauThemes::TPanneauThemes(const std::string& appDir, StudyHost& host, QWidget* parent)
    : QWidget(parent), appDir_(appDir), host_(host) {
    setObjectName("PanneauThemes");
    QVBoxLayout* column = Column(this);
    Panel3 = Bar(this, "Panel3", 30);
    column->addWidget(Panel3);

    BtnThemesListe = new THTMLButton(Panel3);
    BtnThemesListe->setObjectName("BtnThemesListe");
    BtnThemesListe->setText(QString::fromUtf8("<B>Liste des thèmes</B>"));
    BtnThemesListe->setGeometry(5, 5, 120, 21);
    BtnThemesPred = new THTMLButton(Panel3);
    BtnThemesPred->setObjectName("BtnThemesPred");
    BtnThemesPred->SetImages(ImageList::Buttons());
    BtnThemesPred->setText(QStringLiteral("<IMG src=\"idx:7\">"));
    BtnThemesPred->setToolTip(QString::fromUtf8("Page précédente"));
    BtnThemesPred->setGeometry(133, 5, 40, 21);
    BtnThemesSuiv = new THTMLButton(Panel3);
    BtnThemesSuiv->setObjectName("BtnThemesSuiv");
    BtnThemesSuiv->SetImages(ImageList::Buttons());
    BtnThemesSuiv->setText(QStringLiteral("<IMG src=\"idx:8\">"));
    BtnThemesSuiv->setToolTip(QStringLiteral("Page suivante"));
    BtnThemesSuiv->setGeometry(181, 5, 40, 21);
    for (THTMLButton* b : {BtnThemesListe, BtnThemesPred, BtnThemesSuiv})
        connect(b, &THTMLButton::clicked, this, [this, b] { BtnThemesClick(b); });
    // Made after the buttons: Tab goes as the eye does, the buttons above,
    // then the page.
    WBTheme = new TBrowserPane(this);
    WBTheme->setObjectName("WBTheme");
    WBTheme->Browser()->setAccessibleName(QString::fromUtf8("Thèmes d'étude"));
    column->addWidget(WBTheme, 1);
    ConnectPane(WBTheme, this,
                [this](const QString& url, bool& cancel) { WBThemeBeforeNavigate2(url, cancel); });
}

void TPanneauThemes::BtnThemesClick(THTMLButton* sender) {
    // Back and forward without a page to go to do nothing.
    if (sender == BtnThemesListe) {
        WBTheme->Navigate(StudyPageUrl(appDir_, QStringLiteral("index.htm")));
    } else if (sender == BtnThemesPred) {
        WBTheme->GoBack();
    } else {
        WBTheme->GoForward();
    }
}

void TPanneauThemes::WBThemeBeforeNavigate2(const QString& url, bool& cancel) {
    cancel = !Follow(ThemeLink(url, IsPageFile), host_);
}

// ---- Glossary -------------------------------------------------------------

TPanneauGlossaire::TPanneauGlossaire(const std::string& appDir, StudyHost& host, QWidget* parent)
    : QWidget(parent), appDir_(appDir), host_(host) {
    setObjectName("PanneauGlossaire");
    QVBoxLayout* column = Column(this);
    Panel2 = Bar(this, "Panel2", 68);
    column->addWidget(Panel2);

    // Letters A-M and N-Z on two rows, the tables of measures on the third.
    for (int i = 0; i < 26; ++i) {
        auto* b = new THTMLButton(QString(QChar('A' + i)), Panel2);
        b->setObjectName(QStringLiteral("BtnLettre") + QChar('A' + i));
        b->setGeometry(5 + 19 * (i % 13), i < 13 ? 5 : 25, 17, 18);
        connect(b, &THTMLButton::clicked, this, [this, b] { BtnLettreClick(b); });
        if (i == 0) BtnLettreA = b;
    }
    struct Measure {
        const char* name;
        const char* caption;
        int left, width;
    };
    for (const Measure& m :
         {Measure{"BTnLongueur", "Longueurs", 5, 55}, Measure{"BtnCapacite", "Capacités", 62, 55},
          Measure{"BtnPoids", "Poids", 119, 36}, Measure{"BtnMonnaie", "Monnaies", 157, 55},
          Measure{"BtnTemps", "Temps", 214, 36}}) {
        auto* b = new THTMLButton(QString::fromUtf8(m.caption), Panel2);
        b->setObjectName(m.name);
        b->setGeometry(m.left, 45, m.width, 18);
        connect(b, &THTMLButton::clicked, this, [this, b] { BtnLettreClick(b); });
    }
    // Made after the buttons: Tab goes as the eye does, the letters and
    // tables above, then the page.
    WBGlossaire = new TBrowserPane(this);
    WBGlossaire->setObjectName("WBGlossaire");
    WBGlossaire->Browser()->setAccessibleName(QStringLiteral("Glossaire"));
    column->addWidget(WBGlossaire, 1);
    ConnectPane(WBGlossaire, this, [this](const QString& url, bool& cancel) {
        WBGlossaireBeforeNavigate2(url, cancel);
    });
}

void TPanneauGlossaire::LoadPage() {
    WBGlossaire->Navigate(StudyPageUrl(appDir_, QStringLiteral("glossaire.htm")));
}

void TPanneauGlossaire::BtnLettreClick(THTMLButton* sender) {
    // A measure button's anchor is its name from the fourth character on; a
    // letter button's, the first character of its caption.
    const QString name = sender->objectName();
    const QString anchor =
        name.startsWith(QStringLiteral("BtnLettre")) ? sender->text().left(1) : name.mid(3, 20);
    WBGlossaire->Navigate(StudyPageUrl(appDir_, QStringLiteral("glossaire.htm#") + anchor));
    // From the keys, the reader goes on into the entries reached, the caret
    // on the first of them.
    if (sender->hasFocus()) {
        WBGlossaire->Browser()->setFocus(Qt::OtherFocusReason);
        const int at = WBGlossaire->AnchorPosition(anchor);
        if (at >= 0) WBGlossaire->PutCaret(at);
    }
}

void TPanneauGlossaire::WBGlossaireBeforeNavigate2(const QString& url, bool& cancel) {
    cancel = !Follow(GlossaryLink(url, IsPageFile), host_);
}

void TPanneauLivres::TablesChanged() {
    LoadPage();
}

void TPanneauThemes::TablesChanged() {
    BtnThemesListe->click();
}

void TPanneauGlossaire::TablesChanged() {
    LoadPage();
}

}  // namespace lorvane
