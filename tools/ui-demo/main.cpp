// lorvane-ui-demo [screenshot.png]
//
// Shows the mini-HTML widgets, every image of the image lists and a browser
// pane on a Windows-1252 page written into a temporary folder. With a file
// name, saves a picture of the window there once it is shown, and ends.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include "BrowserPane.h"
#include "HTMLControls.h"
#include "HTMListBox.h"
#include "ImageList.h"
#include "PageFonts.h"
#include "QtText.h"

using namespace lorvane;

namespace {

// A strip painted with the blue-to-white gradient of the program's title
// strips.
class Gradient : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), 0);
        g.setColorAt(0, QColor(0, 128, 255));
        g.setColorAt(1, Qt::white);
        p.fillRect(rect(), g);
    }
};

const char* const kPage[] = {
    "<HTML><BODY bgcolor=\"#FFFFFF\">",
    "<FONT face=\"Tahoma\" size=\"2\">",
    "<FONT color=\"#008000\"><B>LA CRÉATION</B></FONT><BR>",
    "<BR>",
    "<A href=\"¤19¤104¤1¤35\"><FONT size=\"1\">Ps 104:1-35</FONT></A><FONT size=\"1\"> ; "
    "</FONT>",
    "<A href=\"¤43¤1¤1¤3\"><FONT size=\"1\">Jn 1:1-3</FONT></A><BR>",
    "<FONT size=\"2\" color=\"#800000\"><B>1</B></FONT> Au commencement, Dieu créa les cieux et "
    "la terre.",
    "  ",
    "<A name=\"2\"></A>",
    "<FONT size=\"2\" color=\"#800000\"><B>2</B></FONT> La terre était informe et vide: il y "
    "avait des ténèbres à la surface de l'abîme, et l'esprit de Dieu se mouvait au-dessus des "
    "eaux.",
    "  ",
    "<A name=\"3\"></A>",
    "<FONT size=\"2\" color=\"#800000\"><B>3</B></FONT> Dieu dit: Que la lumière soit! Et la "
    "lumière fut.",
    "  ",
    "<BR><BR><FONT color=\"#000000\"><B>Liens d'une page d'étude</B></FONT><BR>",
    "Le verset <A href=\"43:3:16\">43:3:16</A>, le livre <A href=\"19\">19</A>, "
    "« guillemets », cœur, 5 €, Ève, naïf.<BR>",
    "<FONT size=\"1\">Taille 1</FONT> <FONT size=\"3\">Taille 3</FONT> "
    "<FONT size=\"4\">Taille 4</FONT><BR>",
    "</FONT></BODY></HTML>",
};

QString WritePage(const QString& folder) {
    std::string bytes;
    for (const char* line : kPage)
        bytes += ToCp1252(QString::fromUtf8(line)) + "\r\n";
    const QString path = folder + QStringLiteral("/temp.htm");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

QWidget* ImageRow(const ImageList& list, const QString& name, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(new QLabel(name, row));
    for (int i = 0; i < list.Count(); ++i) {
        auto* b = new THTMLButton(QStringLiteral("<IMG src=\"idx:%1\">").arg(i), row);
        b->SetImages(list);
        b->SetFlat(true);
        b->setToolTip(QString::number(i));
        h->addWidget(b);
    }
    h->addStretch();
    return row;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallPageFonts();
    const QString shot = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTemporaryDir dir;
    const QString page = WritePage(dir.path());

    QWidget window;
    window.setWindowTitle(QStringLiteral("Lorvane — démonstration des widgets"));
    window.setFont(QFont(QStringLiteral("Tahoma"), 8));
    auto* top = new QVBoxLayout(&window);

    // The module title strip.
    auto* strip = new Gradient(&window);
    strip->setFixedHeight(40);
    auto* title = new THTMLabel(strip);
    title->SetImages(ImageList::Modules());
    title->SetShadow(Qt::gray, 2);
    title->SetText(
        QString::fromUtf8("<IMG \"idx:4\"><B><FONT color=\"#FFFFFF\" face=\"Tahoma\" "
                          "size=\"14\"> Thèmes d'étude</FONT></B>"));
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(4, 0, 4, 0);
    stripLayout->addWidget(title);
    stripLayout->addStretch();
    auto* combo = new THTMLComboBox(strip);
    QFont comboFont(QStringLiteral("Tahoma"), 10);
    comboFont.setBold(true);
    combo->setFont(comboFont);
    combo->setFixedWidth(173);
    for (const char* name : {"Genèse", "Exode", "Lévitique", "Nombres", "Deutéronome"})
        combo->AddItem(QString::fromUtf8(name));
    combo->SetItemIndex(0);
    stripLayout->addWidget(combo);
    top->addWidget(strip);

    auto* middle = new QHBoxLayout;
    top->addLayout(middle, 1);

    // Lists on the left.
    auto* left = new QVBoxLayout;
    middle->addLayout(left);
    auto* index = new THTMListBox(&window);
    index->SetColor(QColor(240, 251, 255));
    index->SetSelectionColor(Qt::yellow);
    index->SetSelectionTextColor(Qt::black);
    index->SetImages(ImageList::Buttons());
    index->BeginUpdate();
    index->Add(QString::fromUtf8("<B>La création</B>"), 1001);
    index->Add(QString::fromUtf8("<IND x=\"10\">Le jardin d'Éden"), 2008);
    index->Add(QString::fromUtf8("<IND x=\"10\">La chute"), 3001);
    index->Add(QString::fromUtf8("<B>Les patriarches</B>"), 12001);
    index->Add(QString::fromUtf8("<IND x=\"10\"><FONT color=\"clred\">Rouge</FONT>, "
                                 "<FONT color=\"#0000FF\">bleu</FONT>, "
                                 "<FONT color=\"clbtnface\">clbtnface</FONT>"),
               12002);
    index->Add(QString::fromUtf8("<IMG src=\"idx:7\"> image 7 <IMG \"idx:8\"> image 8 "
                                 "<IMG src=\"idx:99\">(99 absente)"),
               0);
    index->Add(QString::fromUtf8("<FONT size=\"4\">Taille 4</FONT> <FONT size=\"14\">14 pt</FONT>"
                                 "</FONT> retour"),
               0);
    index->Add(QString::fromUtf8("Mal formé: a < b, <B sans fin, <FONT color=\"#FF0000>rouge"), 0);
    index->EndUpdate();
    index->SetItemIndex(1);
    index->setFixedWidth(300);
    left->addWidget(index, 1);

    auto* search = new THTMListBox(&window);
    search->SetColor(QColor(240, 251, 255));
    search->SetSelectionColor(Qt::cyan);
    search->SetSelectionTextColor(Qt::black);
    search->SetItemHeight(14);
    search->BeginUpdate();
    search->Add(QString::fromUtf8("<B>Gn 1:1</B> : Au commencement, <FONT color=\"#C00400\">Dieu"
                                  "</FONT> créa les cieux et la terre."),
                1001);
    search->Add(QString::fromUtf8("<B>Gn 1:2</B> : La terre était informe et vide: il y avait "
                                  "des ténèbres"),
                1001);
    search->InsertTop(
        QString::fromUtf8("<FONT color=\"gray\"><B>2 éléments trouvés ...</B></FONT>"), 0);
    search->EndUpdate();
    search->SetItemIndex(2);
    search->setFixedWidth(300);
    left->addWidget(search, 1);

    auto* radios = new QHBoxLayout;
    radios->addWidget(new QLabel(QStringLiteral("Afficher"), &window));
    auto* r1 = new THTMLRadioButton(QStringLiteral("le passage"), &window);
    auto* r2 = new THTMLRadioButton(QString::fromUtf8("tout le <B>chapitre</B>"), &window);
    r1->setChecked(true);
    radios->addWidget(r1);
    radios->addWidget(r2);
    radios->addStretch();
    left->addLayout(radios);

    auto* buttons = new QHBoxLayout;
    auto* liste = new THTMLButton(QString::fromUtf8("<B>Liste des thèmes</B>"), &window);
    liste->setFixedSize(120, 21);
    auto* pred = new THTMLButton(QStringLiteral("<IMG src=\"idx:7\">"), &window);
    pred->SetImages(ImageList::Buttons());
    pred->setFixedSize(40, 21);
    pred->setToolTip(QString::fromUtf8("Page précédente"));
    auto* suiv = new THTMLButton(QStringLiteral("<IMG src=\"idx:8\">"), &window);
    suiv->SetImages(ImageList::Buttons());
    suiv->setFixedSize(40, 21);
    buttons->addWidget(liste);
    buttons->addWidget(pred);
    buttons->addWidget(suiv);
    buttons->addStretch();
    left->addLayout(buttons);

    // The pane on the right.
    auto* pane = new TBrowserPane(&window);
    middle->addWidget(pane, 1);
    auto* status = new QLabel(&window);
    QObject::connect(pane, &TBrowserPane::BeforeNavigate2,
                     [status](const QString& url, bool* cancel) {
                         status->setText(QStringLiteral("BeforeNavigate2: ") + url);
                         *cancel = !url.contains(u'#') && !QFile::exists(url);
                     });
    QObject::connect(pred, &QAbstractButton::clicked, pane, &TBrowserPane::GoBack);
    QObject::connect(suiv, &QAbstractButton::clicked, pane, &TBrowserPane::GoForward);

    // Every image of the four lists.
    top->addWidget(ImageRow(ImageList::Modules(), QStringLiteral("32"), &window));
    top->addWidget(ImageRow(ImageList::Buttons(), QStringLiteral("24"), &window));
    auto* small = new QHBoxLayout;
    small->addWidget(ImageRow(ImageList::Forme(), QStringLiteral("Forme"), &window));
    small->addWidget(ImageRow(ImageList::Fichier(), QStringLiteral("Fichier"), &window));
    top->addLayout(small);
    top->addWidget(new QLabel(QStringLiteral("Tahoma → ") + TahomaStandIn(), &window));
    top->addWidget(status);

    window.resize(1240, 760);
    window.move(20, 20);
    window.show();
    pane->Navigate(QStringLiteral("file://") + page + QStringLiteral("#2"));
    pane->Refresh();

    if (!shot.isEmpty()) {
        QTimer::singleShot(800, [&] {
            window.grab().save(shot);
            app.quit();
        });
    }
    return app.exec();
}
