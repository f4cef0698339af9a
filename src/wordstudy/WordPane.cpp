#include "WordPane.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "Accessible.h"
#include "ErrorDisplay.h"
#include "QtText.h"
#include "ReadingView.h"

namespace lorvane {

namespace {

const char* const kHowTo =
    "<p>Cliquez sur un mot d'une Bible qui donne les numéros de Strong (le Nouveau Testament "
    "grec, l'Ancien Testament hébreu, la King James...), ou placez-y le curseur avec le "
    "clavier\u00A0: ce volet dit sa forme du dictionnaire, son numéro, son analyse et sa "
    "définition.</p>";

// What a screen reader hears of the definition: its first words.
QString Opening(const std::string& definition) {
    return ShortenAtWord(QString::fromStdString(definition), 240);
}

}  // namespace

WordPane::WordPane(wordstudy::WordStudy& study, ReadingCore& reading, ReadingView& view,
                   QWidget* parent)
    : QWidget(parent), study_(study), reading_(reading), view_(&view) {
    setObjectName("PanneauMot");
    setAccessibleName(QStringLiteral("Mot"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    text_ = new QTextBrowser(this);
    text_->setObjectName("WordText");
    text_->setAccessibleName(QStringLiteral("Mot choisi"));
    text_->setOpenLinks(false);
    occurrences_ = new QPushButton(QStringLiteral("&Toutes les occurrences"), this);
    occurrences_->setObjectName("WordOccurrences");
    occurrences_->setEnabled(false);
    column->addWidget(text_, 1);
    column->addWidget(occurrences_);
    connect(occurrences_, &QPushButton::clicked, this, [this] {
        if (!number_.isEmpty()) emit SearchAsked(number_);
    });
    // A number an entry refers to: its own entry, and its occurrences.
    connect(text_, &QTextBrowser::anchorClicked, this, GuardedSlot([this](const QUrl& url) {
                const QString link = url.toString();
                const QString scheme = QString::fromUtf8(wordstudy::kStrongLinkScheme.data(),
                                                         wordstudy::kStrongLinkScheme.size());
                if (!link.startsWith(scheme)) return;
                const auto entry = study_.Entry(link.mid(scheme.size()).toStdString());
                if (!entry) return;
                text_->setHtml(QString::fromStdString(wordstudy::EntryHtml(*entry)));
                number_ = QString::fromStdString(entry->number);
                occurrences_->setEnabled(true);
            }));
    connect(&view, &ReadingView::WordReached, this,
            GuardedSlot([this](const WordAnchor& word) { ShowWord(word); }));
    // A Bible's words are read once its first page is shown: the switch to
    // it is not kept waiting, and the page is written again with them.
    reading_.SetWordsOf([this](const Communs& c) {
        if (const auto known = study_.Looked(c)) return *known;
        if (!loadPending_) {
            loadPending_ = true;
            QTimer::singleShot(0, this, GuardedSlot([this] { LoadWords(); }));
        }
        return PageWords{};
    });
    view.SetWordLength([this](const WordAnchor& word) -> int {
        const Communs* c = TablesOf(word.id);
        return c ? static_cast<int>(QString::fromStdString(study_.WrittenWord(*c, word)).size())
                 : 0;
    });
    reading_.Subscribe(this);
    ShowHowTo();
    interlinear_ = new QAction(QStringLiteral("&Interlinéaire"), this);
    interlinear_->setObjectName("ActionInterlineaire");
    interlinear_->setCheckable(true);
    connect(interlinear_, &QAction::toggled, this,
            GuardedSlot([this](bool on) { reading_.SetInterlinear(on); }));
}

QAction* WordPane::FocusAction(QWidget* page, std::function<void()> show) {
    auto* action = new QAction(QStringLiteral("Aller au &mot"), this);
    action->setObjectName("ActionAllerAuMot");
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, GuardedSlot([this, page, show] {
                if (isAncestorOf(QApplication::focusWidget())) {
                    page->setFocus(Qt::ShortcutFocusReason);
                    return;
                }
                show();
                text_->setFocus(Qt::ShortcutFocusReason);
            }));
    return action;
}

WordPane::~WordPane() {
    if (ReadingCore* reading = Followed()) reading->SetWordsOf({});
    if (view_) view_->SetWordLength({});
}

void WordPane::LoadWords() {
    loadPending_ = false;
    bool found = false;
    auto look = [&](const Communs& c) {
        if (study_.Looked(c)) return;
        found = study_.WordsOf(c).table != nullptr || found;
    };
    look(reading_.Tables());
    for (const ComparedBible& column : reading_.Columns())
        if (column.tables) look(*column.tables);
    if (found) reading_.Show();
}

void WordPane::ShowHowTo() {
    text_->setHtml(QString::fromUtf8(kHowTo));
    number_.clear();
    occurrences_->setEnabled(false);
}

void WordPane::TablesChanged() {
    ShowHowTo();
}

const Communs* WordPane::TablesOf(int id) const {
    for (const ComparedBible& column : reading_.Columns())
        if (column.tables && study_.WordsOf(*column.tables).id == id) return column.tables.get();
    return study_.WordsOf(reading_.Tables()).id == id ? &reading_.Tables() : nullptr;
}

void WordPane::ShowWord(const WordAnchor& word) {
    const Communs* c = TablesOf(word.id);
    const auto facts = c ? study_.Describe(*c, word) : std::nullopt;
    if (!facts) return;
    text_->setHtml(QString::fromStdString(wordstudy::FactsHtml(*facts)));
    number_ = facts->numbers.empty() ? QString() : QString::fromStdString(facts->numbers[0]);
    occurrences_->setEnabled(!number_.isEmpty());
    occurrences_->setToolTip(number_.isEmpty()
                                 ? QString()
                                 : QStringLiteral("Chercher %1 dans la Bible lue").arg(number_));
    // The reader moving in the page hears the word; the pane itself says
    // it to whoever goes there.
    QString said = QString::fromStdString(wordstudy::FactsSummary(*facts));
    if (!facts->entries.empty())
        said += QStringLiteral(". ") +
                QString::fromUtf8(words::kDefinitionLabel.data(), words::kDefinitionLabel.size()) +
                QStringLiteral(" : ") + Opening(facts->entries[0].definition);
    text_->setAccessibleDescription(said);
    if (isVisible() && window()->isActiveWindow() && !text_->hasFocus()) Announce(this, said);
}

}  // namespace lorvane
