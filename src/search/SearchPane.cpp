#include "SearchPane.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOptionComplex>
#include <QVBoxLayout>
#include <exception>
#include <iostream>
#include <new>
#include <optional>
#include <stdexcept>
#include <utility>

#include "Accessible.h"
#include "ErrorDisplay.h"
#include "HTMListBox.h"
#include "HistoryEdit.h"
#include "MiniHtmlPainter.h"
#include "QtText.h"
#include "SearchEngine.h"
#include "UserFiles.h"

namespace lorvane {
namespace {

// Combo boxes whose text takes all but a narrow arrow at the right, so that
// the captions of the lists show whole in the pane's narrow strip.
class CompactComboStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        if (control == CC_ComboBox && (sub == SC_ComboBoxArrow || sub == SC_ComboBoxEditField)) {
            constexpr int kArrow = 14;
            const QRect r = option->rect;
            if (sub == SC_ComboBoxArrow)
                return QRect(r.right() - kArrow + 1, r.top(), kArrow, r.height());
            return QRect(r.left() + 3, r.top() + 2, r.width() - kArrow - 4, r.height() - 4);
        }
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
};

// The reader's method and scope, kept between runs in plain key=value lines.
QString ChoicesPath() {
    return UserConfigFolder() + QStringLiteral("/recherche.txt");
}

struct Choices {
    int method = kSearchWords;
    int scope = kScopeNewTestament;
};

// The choices of the file; a missing file gives the first start's, a
// damaged one too, said in one line on standard error.
Choices ReadChoices() {
    Choices out;
    const QString path = ChoicesPath();
    const std::optional<QByteArray> bytes = ReadUserFile(path, 4096);
    if (!bytes) return out;
    bool damaged = false;
    for (const QByteArray& raw : bytes->split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty()) continue;
        const qsizetype eq = line.indexOf('=');
        bool number = false;
        const int value = eq > 0 ? line.mid(eq + 1).trimmed().toInt(&number) : -1;
        const QByteArray key = line.left(eq).trimmed();
        if (key == "methode" && number && value >= kSearchWords && value <= kSearchFolded)
            out.method = value;
        else if (key == "dans" && number && value >= kScopeChapter && value <= kScopeWholeBible)
            out.scope = value;
        else
            damaged = true;
    }
    if (damaged)
        std::cerr << "lorvane: " << QFile::encodeName(path).constData()
                  << ": lines not understood, ignored" << std::endl;
    return out;
}

}  // namespace

TPanneauRechercher::TPanneauRechercher(const Communs& communs,
                                       std::function<ReadingPlace()> readingPlace, QWidget* parent)
    : QWidget(parent), communs_(communs), readingPlace_(std::move(readingPlace)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    BuildStrip();
    column->addWidget(PanelRech);

    LBRech = new THTMListBox(this);
    LBRech->setObjectName("LBRech");
    LBRech->setAccessibleName(QString::fromUtf8("Résultats de la recherche"));
    LBRech->SetHeadLine(true);  // the count
    LBRech->SetColor(QColor(240, 251, 255));
    LBRech->SetSelectionColor(Qt::cyan);
    LBRech->SetSelectionTextColor(Qt::black);
    LBRech->SetItemHeight(14);
    column->addWidget(LBRech, 1);

    connect(BtnRech, &QPushButton::clicked, this, GuardedSlot([this](bool) { BtnRechClick(); }));
    connect(EditRech, &THistoryEdit::KeyPress, this,
            GuardedSlot([this](int key) { EditRechKeyPress(key); }));

    // The method and scope the reader chose last time.
    const Choices choices = ReadChoices();
    CBRechMethode->setCurrentIndex(choices.method);
    CBRechDans->setCurrentIndex(choices.scope);
    connect(CBRechMethode, &QComboBox::activated, this, [this] { SaveChoices(); });
    connect(CBRechDans, &QComboBox::activated, this, [this] { SaveChoices(); });
}

void TPanneauRechercher::SaveChoices() const {
    const QByteArray bytes = "methode=" + QByteArray::number(CBRechMethode->currentIndex()) +
                             "\ndans=" + QByteArray::number(CBRechDans->currentIndex()) + "\n";
    WriteUserFile(ChoicesPath(), bytes);  // a failure is said on standard error
}

TPanneauRechercher::~TPanneauRechercher() = default;

void TPanneauRechercher::BuildStrip() {
    PanelRech = new QWidget(this);
    PanelRech->setObjectName("PanelRech");
    PanelRech->setFixedHeight(101);
    PanelRech->setAutoFillBackground(true);
    QPalette white = PanelRech->palette();
    white.setColor(QPalette::Window, Qt::white);
    PanelRech->setPalette(white);

    auto* grid = new QGridLayout(PanelRech);
    grid->setContentsMargins(4, 12, 4, 12);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(7);
    grid->setColumnStretch(1, 1);

    const QColor caption = ResolveColor(
        minihtml::Color::System(minihtml::SystemColor::InactiveCaption), PanelRech->palette());
    auto label = [&](const char* name, const QString& text, int row) {
        auto* l = new QLabel(text, PanelRech);
        l->setObjectName(name);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, caption);
        l->setPalette(p);
        grid->addWidget(l, row, 0);
        return l;
    };
    LabelTexte = label("LabelTexte", QStringLiteral("Texte"), 0);
    LabelMethode = label("LabelMethode", QString::fromUtf8("Méthode"), 1);
    LabelDans = label("LabelDans", QStringLiteral("Dans"), 2);

    EditRech = new THistoryEdit(PanelRech);
    EditRech->setObjectName("EditRech");
    CBRechMethode = new QComboBox(PanelRech);
    CBRechMethode->setObjectName("CBRechMethode");
    CBRechMethode->addItems({QStringLiteral("Versets contenant le(s) mot(s)"),
                             QStringLiteral("Versets contenant la phrase exacte"),
                             QStringLiteral("Mots, sans accents ni majuscules")});
    // Each method's whole meaning, on its item and on the list.
    const QString methodTips[] = {
        QString::fromUtf8("Versets contenant tous les mots, dans n'importe quel ordre,\n"
                          "écrits comme tapés (seule la première lettre peut aussi être\n"
                          "une majuscule) ; un mot peut être une partie d'un mot plus\n"
                          "long : « roi » trouve aussi « paroi »"),
        QString::fromUtf8("Versets contenant la phrase exacte, écrite comme tapée (seule\n"
                          "la première lettre peut aussi être une majuscule) ; elle peut\n"
                          "commencer ou finir au milieu d'un mot"),
        QString::fromUtf8("Versets contenant tous les mots entiers, quels que soient\n"
                          "leurs accents et leurs majuscules : « coeur » trouve\n"
                          "aussi « cœur » et « Cœur », « eternel » trouve « Éternel » ;\n"
                          "« aim* » trouve les mots qui commencent par « aim »")};
    for (int i = 0; i < 3; ++i)
        CBRechMethode->setItemData(i, methodTips[i], Qt::ToolTipRole);
    auto methodTip = [this](int index) {
        CBRechMethode->setToolTip(CBRechMethode->itemData(index, Qt::ToolTipRole).toString());
    };
    methodTip(0);
    connect(CBRechMethode, &QComboBox::currentIndexChanged, this, methodTip);
    CBRechDans = new QComboBox(PanelRech);
    CBRechDans->setObjectName("CBRechDans");
    CBRechDans->addItems({QStringLiteral("ce chapitre"), QStringLiteral("ce livre"),
                          QStringLiteral("Nouveau Testament"), QStringLiteral("Ancien Testament"),
                          QStringLiteral("Toute la Bible")});
    BtnRech = new QPushButton(QStringLiteral("Rechercher..."), PanelRech);
    BtnRech->setObjectName("BtnRech");
    BtnRech->setFixedSize(84, 21);

    for (QWidget* w : {static_cast<QWidget*>(EditRech), static_cast<QWidget*>(CBRechMethode),
                       static_cast<QWidget*>(CBRechDans)}) {
        w->setFixedHeight(21);
        w->setMinimumWidth(40);
    }
    auto* compact = new CompactComboStyle(QStyleFactory::create(CBRechDans->style()->name()));
    compact->setParent(PanelRech);
    CBRechMethode->setStyle(compact);
    CBRechDans->setStyle(compact);
    grid->addWidget(EditRech, 0, 1, 1, 2);
    grid->addWidget(CBRechMethode, 1, 1, 1, 2);
    grid->addWidget(CBRechDans, 2, 1);
    grid->addWidget(BtnRech, 2, 2);

    // What a screen reader says for each control: its label or caption.
    LabelTexte->setBuddy(EditRech);
    LabelMethode->setBuddy(CBRechMethode);
    LabelDans->setBuddy(CBRechDans);
    // Named by what the reader types there: the label alone says little,
    // and a screen reader names a field by the label that points to it.
    EditRech->setAccessibleName(QString::fromUtf8("Mots à chercher"));
    LabelTexte->setAccessibleName(EditRech->accessibleName());
    CBRechMethode->setAccessibleName(LabelMethode->text());
    CBRechDans->setAccessibleName(LabelDans->text());
    BtnRech->setAccessibleName(BtnRech->text());
    // Return runs the search as Space does.
    BtnRech->setAutoDefault(true);
}

void TPanneauRechercher::EditRechKeyPress(int key) {
    if (key == 13) BtnRech->click();
}

void TPanneauRechercher::SearchEverywhere(const QString& query) {
    EditRech->setText(query);
    CBRechDans->setCurrentIndex(kScopeWholeBible);
    BtnRechClick();
}

void TPanneauRechercher::BtnRechClick() {
    // A click that comes while a search runs (through the accessibility
    // bus, or while the message at the cap waits) would interleave two
    // searches in one list.
    if (searching_) return;
    searching_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{searching_};
    try {
        Run();
    } catch (const std::bad_alloc&) {
        throw;  // the error display has its own words for it
    } catch (const std::exception& e) {
        std::cerr << "lorvane: search: " << e.what() << std::endl;
        throw std::runtime_error("La recherche a été interrompue par une erreur interne.");
    }
}

const FoldedVerses& TPanneauRechercher::Folded() {
    if (!folded_) folded_ = std::make_unique<FoldedVerses>(communs_);
    return *folded_;
}

std::optional<Place> TPanneauRechercher::ResultPlace(int index) const {
    if (index < 0 || index >= LBRech->Count()) return std::nullopt;
    // An item's value is its chapter's position; the count line's is 0.
    const std::int32_t value = LBRech->Value(index);
    if (value <= 0) return std::nullopt;
    const ResultChapter at = ResultItemChapter(value);
    return Place{at.book, at.chapter, ResultVerse(index), -1};
}

void TPanneauRechercher::Follow(ReadingCore& reading) {
    reading.Subscribe(this);
    readingPlace_ = [&reading] {
        return ReadingPlace{reading.Here().book, reading.Here().chapter};
    };
    connect(LBRech, &THTMListBox::Click, this, [this, &reading] {
        if (const std::optional<Place> p = ResultPlace(LBRech->ItemIndex()))
            reading.MoveTo(*p, VerseSpan{p->verse, 0});  // the found verse at the top
    });
}

void TPanneauRechercher::TablesReplaced() {
    resultSlots_.clear();
    LBRech->Clear();
    folded_.reset();
}

int TPanneauRechercher::ResultVerse(int index) const {
    if (searching_ || index < 1 || index >= LBRech->Count() ||
        static_cast<std::size_t>(index) > resultSlots_.size())
        return 1;
    const std::int32_t slot = resultSlots_[static_cast<std::size_t>(index) - 1];
    if (slot < 1 || slot > communs_.VerseSlotCount()) return 1;
    const TVerset& v = communs_.VerseTable[static_cast<std::size_t>(slot)];
    if (LBRech->Value(index) != ResultItemValue(communs_, slot) || v.Verse < 1) return 1;
    return v.Verse;
}

void TPanneauRechercher::Run() {
    // The list shows empty at once.
    resultSlots_.clear();
    LBRech->BeginUpdate();
    LBRech->Clear();
    LBRech->EndUpdate();
    LBRech->viewport()->repaint();

    QApplication::setOverrideCursor(Qt::WaitCursor);
    LBRech->BeginUpdate();
    std::string head = CountLine(0);
    std::exception_ptr failure;
    try {
        const ReadingPlace place = readingPlace_ ? readingPlace_() : ReadingPlace{};
        SearchRequest request;
        request.query = ToUtf8(EditRech->text());
        request.method = CBRechMethode->currentIndex();
        request.scope = CBRechDans->currentIndex();
        request.currentBook = place.book;
        request.currentChapter = place.chapter;
        request.words = words_ ? words_() : nullptr;
        const SearchResults found =
            Search(communs_, request, [this]() -> const FoldedVerses& { return Folded(); });
        for (const SearchResultItem& item : found.items) {
            LBRech->Add(FromUtf8(item.text), item.value);
            resultSlots_.push_back(item.slot);
        }
        head = HeadLine(found);
    } catch (...) {
        failure = std::current_exception();
    }
    Finish(head);
    if (failure) std::rethrow_exception(failure);
}

void TPanneauRechercher::Finish(const std::string& head) {
    struct Restore {
        THTMListBox* list;
        ~Restore() {
            list->EndUpdate();
            QApplication::restoreOverrideCursor();
        }
    } restore{LBRech};
    const QString line = FromUtf8(head);
    LBRech->InsertTop(line, 0);
    LBRech->SetTopIndex(0);
    // What the search found, said to a screen reader's user.
    QString said = MiniHtmlPlainText(line).trimmed();
    if (said.endsWith(QLatin1String("..."))) said = said.chopped(3).trimmed();
    Announce(this, said);
}

}  // namespace lorvane
