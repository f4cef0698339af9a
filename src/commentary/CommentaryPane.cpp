#include "CommentaryPane.h"

#include <QComboBox>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <iostream>

#include "PageLinks.h"

namespace lorvane {
namespace {

const char* const kNone = "Aucun commentaire sur ce verset.";
const char* const kHowTo =
    "Aucun commentaire n'est installé. Importez un commentaire SWORD par Fichier > Importer une "
    "Bible...";

QString Paragraph(const char* text) {
    return QStringLiteral("<p><i>%1</i></p>").arg(QString::fromUtf8(text).toHtmlEscaped());
}

}  // namespace

CommentaryPane::CommentaryPane(const std::string& shelfDir, QWidget* parent)
    : QWidget(parent), shelf_(shelfDir) {
    setObjectName("PanneauCommentaire");
    setAccessibleName(QStringLiteral("Commentaire"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    choice_ = new QComboBox(this);
    choice_->setObjectName("CommentaryChoice");
    choice_->setAccessibleName(QStringLiteral("Commentaire affiché"));
    text_ = new QTextBrowser(this);
    text_->setObjectName("CommentaryText");
    text_->setAccessibleName(QStringLiteral("Texte du commentaire"));
    text_->setOpenLinks(false);
    column->addWidget(choice_);
    column->addWidget(text_, 1);
    connect(choice_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!filling_) Choose(i);
    });
    connect(text_, &QTextBrowser::anchorClicked, this, &CommentaryPane::FollowLink);
    Reload();
}

CommentaryPane::~CommentaryPane() = default;

void CommentaryPane::Follow(ReadingCore& reading) {
    reading.Subscribe(this);
    const Place& here = reading.Here();
    verse_ =
        reading.Tables().VerseNumbering->ToSegond(PlaceOf(here.book, here.chapter, here.verse));
    ShowEntry();
}

void CommentaryPane::PlaceChanged(const Place&, const Place& after) {
    const ReadingCore* reading = Followed();
    if (!reading) return;
    // The verse the reader is at: the caret's when the same place is shown
    // again, the verse of a move, the top one of a place that comes back.
    const int verse = after.top > 0 ? after.top : reading->VerseRead();
    verse_ = reading->Tables().VerseNumbering->ToSegond(
        PlaceOf(after.book, after.chapter, verse > 0 ? verse : 1));
    ShowEntry();
}

void CommentaryPane::VerseReadChanged(int verse) {
    const ReadingCore* reading = Followed();
    if (!reading) return;
    const Place& here = reading->Here();
    const VersePlace segond =
        reading->Tables().VerseNumbering->ToSegond(PlaceOf(here.book, here.chapter, verse));
    if (segond == 0 || segond == verse_) return;
    verse_ = segond;
    ShowEntry();
}

void CommentaryPane::Adopt(const std::string& staging, const std::string& name,
                           const std::string& abbreviation) {
    const std::size_t i = shelf_.Adopt(staging, name, abbreviation);
    Reload(shelf_.Commentaries()[i].folder);
}

bool CommentaryPane::RenameKept(std::size_t i, const QString& name, const QString& abbreviation) {
    try {
        shelf_.Rename(i, name.toStdString(), abbreviation.toStdString());
    } catch (const commentary::CommentaryError& e) {
        QMessageBox::warning(window(), QStringLiteral("Lorvane"), QString::fromUtf8(e.what()));
        return false;
    }
    Reload();
    return true;
}

bool CommentaryPane::RemoveKept(std::size_t i) {
    try {
        shelf_.Remove(i);
    } catch (const commentary::CommentaryError& e) {
        QMessageBox::warning(window(), QStringLiteral("Lorvane"), QString::fromUtf8(e.what()));
        return false;
    }
    Reload();
    return true;
}

void CommentaryPane::Reload(const std::string& folder) {
    std::string chosen = folder;
    const int at = choice_->currentIndex();
    if (chosen.empty() && at >= 0 && static_cast<std::size_t>(at) < shelf_.Commentaries().size())
        chosen = shelf_.Commentaries()[static_cast<std::size_t>(at)].folder;
    shelf_.Load();
    for (const std::string& problem : shelf_.Problems())
        std::cerr << "lorvane: " << problem << "\n";
    filling_ = true;
    choice_->clear();
    int select = 0;
    for (std::size_t i = 0; i < shelf_.Commentaries().size(); ++i) {
        const commentary::KeptCommentary& c = shelf_.Commentaries()[i];
        choice_->addItem(QString::fromUtf8(c.name) + QStringLiteral(" (") +
                         QString::fromUtf8(c.abbreviation) + QStringLiteral(")"));
        if (c.folder == chosen) select = static_cast<int>(i);
    }
    choice_->setEnabled(choice_->count() > 1);
    filling_ = false;
    if (choice_->count() > 0) choice_->setCurrentIndex(select);
    Choose(choice_->currentIndex());
}

void CommentaryPane::Choose(int index) {
    open_.reset();
    if (index >= 0 && static_cast<std::size_t>(index) < shelf_.Commentaries().size()) {
        try {
            open_ = commentary::Commentary::Open(shelf_.FileOf(static_cast<std::size_t>(index)));
        } catch (const commentary::CommentaryError& e) {
            text_->setHtml(
                QStringLiteral("<p>%1</p>").arg(QString::fromUtf8(e.what()).toHtmlEscaped()));
            return;
        }
    }
    ShowEntry();
}

void CommentaryPane::ShowEntry() {
    if (!open_) {
        if (shelf_.Commentaries().empty()) text_->setHtml(Paragraph(kHowTo));
        return;
    }
    try {
        const auto found = verse_ ? open_->EntryFor(verse_) : std::nullopt;
        text_->setHtml(found ? QString::fromUtf8(found->html) : Paragraph(kNone));
    } catch (const commentary::CommentaryError& e) {
        text_->setHtml(
            QStringLiteral("<p>%1</p>").arg(QString::fromUtf8(e.what()).toHtmlEscaped()));
    }
}

void CommentaryPane::FollowLink(const QUrl& url) {
    ReadingCore* reading = Followed();
    const auto ref = DecodeCrossRefLink(url.toString().toLatin1().toStdString());
    if (!reading || !ref) return;
    // The link names a Segond verse: the Bible read may number it otherwise.
    const Numbering& numbering = *reading->Tables().VerseNumbering;
    const auto places = numbering.FromSegond(PlaceOf(ref->Book, ref->Chapter, ref->FirstVerse));
    if (places.count == 0) return;
    const VersePlace p = places.places[0];
    const int last =
        ref->LastVerse > ref->FirstVerse ? VerseOf(p) + (ref->LastVerse - ref->FirstVerse) : 0;
    Place to;
    to.book = BookOf(p);
    to.chapter = ChapterOf(p);
    to.verse = VerseOf(p);
    reading->MoveTo(to, VerseSpan{to.verse, last});
}

}  // namespace lorvane
