#include "SearchPane.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>
#include <utility>

#include "ErrorDisplay.h"
#include "HTMListBox.h"
#include "HistoryEdit.h"
#include "MiniHtmlPainter.h"
#include "QtText.h"
#include "SearchEngine.h"

namespace lorvane {

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
    LBRech->SetColor(QColor(240, 251, 255));
    LBRech->SetSelectionColor(Qt::cyan);
    LBRech->SetSelectionTextColor(Qt::black);
    LBRech->SetItemHeight(14);
    column->addWidget(LBRech, 1);

    connect(BtnRech, &QPushButton::clicked, this, GuardedSlot([this](bool) { BtnRechClick(); }));
    connect(EditRech, &THistoryEdit::KeyPress, this,
            GuardedSlot([this](int key) { EditRechKeyPress(key); }));
}

void TPanneauRechercher::BuildStrip() {
    PanelRech = new QWidget(this);
    PanelRech->setObjectName("PanelRech");
    PanelRech->setFixedHeight(101);
    PanelRech->setAutoFillBackground(true);
    QPalette white = PanelRech->palette();
    white.setColor(QPalette::Window, Qt::white);
    PanelRech->setPalette(white);

    auto* grid = new QGridLayout(PanelRech);
    grid->setContentsMargins(8, 12, 8, 12);
    grid->setHorizontalSpacing(6);
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
                             QStringLiteral("Versets contenant la phrase exacte")});
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
    grid->addWidget(EditRech, 0, 1, 1, 2);
    grid->addWidget(CBRechMethode, 1, 1, 1, 2);
    grid->addWidget(CBRechDans, 2, 1);
    grid->addWidget(BtnRech, 2, 2);

    // What a screen reader says for each control: its label or caption.
    LabelTexte->setBuddy(EditRech);
    LabelMethode->setBuddy(CBRechMethode);
    LabelDans->setBuddy(CBRechDans);
    EditRech->setAccessibleName(LabelTexte->text());
    CBRechMethode->setAccessibleName(LabelMethode->text());
    CBRechDans->setAccessibleName(LabelDans->text());
    BtnRech->setAccessibleName(BtnRech->text());
}

void TPanneauRechercher::EditRechKeyPress(int key) {
    if (key == 13) BtnRech->click();
}

void TPanneauRechercher::BtnRechClick() {
    // The list shows empty at once.
    LBRech->BeginUpdate();
    LBRech->Clear();
    LBRech->EndUpdate();
    LBRech->viewport()->repaint();

    const ReadingPlace place = readingPlace_ ? readingPlace_() : ReadingPlace{};
    const SlotRange range =
        SearchRange(communs_, CBRechDans->currentIndex(), place.book, place.chapter);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    LBRech->BeginUpdate();
    int count = 0;
    std::exception_ptr failure;
    try {
        // A character that Windows-1252 lacks becomes the verse terminator,
        // which no verse text holds: its term finds nothing.
        const std::vector<std::string> terms =
            SearchTerms(ToCp1252(EditRech->text(), static_cast<char>(communs_.VerseTerminator)),
                        CBRechMethode->currentIndex());
        const VerseMatches found = FindVerses(communs_, terms, range);
        std::vector<std::string> items;
        items.reserve(found.verses.size());
        for (std::int32_t slot : found.verses) {
            items.push_back(ResultItemText(communs_, slot));
            LBRech->Add(FromCp1252(items.back()), ResultItemValue(communs_, slot));
            ++count;
        }
        if (found.capped) {
            QMessageBox box(QMessageBox::Information, QStringLiteral("Information"),
                            FromCp1252(CapMessage()), QMessageBox::Ok, this);
            box.setObjectName("SearchCapBox");
            box.exec();
        }
        for (std::size_t i = 0; i < items.size(); ++i)
            LBRech->SetText(static_cast<int>(i), FromCp1252(HighlightTerms(items[i], terms)));
    } catch (...) {
        failure = std::current_exception();
    }
    Finish(count);
    if (failure) std::rethrow_exception(failure);
}

void TPanneauRechercher::Finish(int count) {
    struct Restore {
        THTMListBox* list;
        ~Restore() {
            list->EndUpdate();
            QApplication::restoreOverrideCursor();
        }
    } restore{LBRech};
    LBRech->InsertTop(FromCp1252(CountLine(count)), 0);
    LBRech->SetTopIndex(0);
}

}  // namespace lorvane
