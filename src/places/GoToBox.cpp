#include "GoToBox.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>

#include "Accessible.h"
#include "QtText.h"

namespace lorvane {

GoToBox::GoToBox(QWidget* parent)
    : QWidget(parent),
      edit_(new QLineEdit(this)),
      message_(new QLabel(this)),
      completer_(new QCompleter(this)),
      proposals_(new QStringListModel(this)) {
    setObjectName("GoToBox");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    edit_->setObjectName("EditAllerA");
    edit_->setPlaceholderText(QStringLiteral("Aller à"));
    edit_->setAccessibleName(QString::fromUtf8("Aller à une référence"));
    edit_->setToolTip(QStringLiteral("Aller à une référence, par exemple « Jean 3:16 » (Ctrl+G)"));
    // It gives way to the tabs' buttons in a narrow window.
    edit_->setMinimumWidth(70);
    edit_->setMaximumWidth(150);
    edit_->setClearButtonEnabled(false);
    row->addWidget(edit_);
    message_->setObjectName("LabelAllerA");
    message_->setStyleSheet(
        QStringLiteral("QLabel { background: #FFF8DC; color: #800000; padding: 1px 4px; }"));
    message_->setAccessibleName(QStringLiteral("Message"));
    // The reason takes the room left, never widening the window.
    message_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    message_->hide();
    row->addWidget(message_, 1);
    // The box stays at the left of its room when no reason shows.
    row->addStretch(0);

    completer_->setModel(proposals_);
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setWidget(edit_);
    completer_->popup()->setObjectName("AllerAProposals");
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& name) {
                edit_->setText(name + QLatin1Char(' '));
                edit_->setCursorPosition(static_cast<int>(edit_->text().size()));
            });
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        Say(QString());
        Propose(text);
    });
    connect(edit_, &QLineEdit::returnPressed, this, &GoToBox::Submit);
    edit_->installEventFilter(this);
}

GoToBox::~GoToBox() = default;

void GoToBox::SetBible(const Communs& communs) {
    communs_ = &communs;
    names_ = std::make_unique<BookNames>(communs);
}

void GoToBox::Follow(ReadingCore& reading) {
    reading.Subscribe(this);
    SetBible(reading.Tables());
}

void GoToBox::TablesChanged() {
    if (ReadingCore* reading = Followed()) SetBible(reading->Tables());
}

void GoToBox::PlaceChanged(const Place&, const Place&) {
    // "Aller à" names the place shown, however the reader came to it.
    const ReadingCore* reading = Followed();
    if (!reading) return;
    const Place& p = reading->Here();
    const Communs& c = reading->Tables();
    ShowPlace(FromUtf8(p.verse > 1 ? c.FormatRef(p.book, p.chapter, p.verse, 0)
                                   : c.Book(p.book).Name.str() + ' ' + std::to_string(p.chapter)));
}

void GoToBox::Focus() {
    edit_->setFocus(Qt::ShortcutFocusReason);
    edit_->selectAll();
}

void GoToBox::Propose(const QString& text) {
    QStringList names;
    if (names_)
        for (int book : names_->Complete(ToCp1252(text)))
            names << FromCp1252(names_->Name(book));
    proposals_->setStringList(names);
    if (names.isEmpty()) {
        completer_->popup()->hide();
        return;
    }
    // The proposals show as the reader types; the reader hears them from
    // the arrows on, not at each letter.
    const QuietFocus quiet(completer_->popup());
    completer_->complete();
}

void GoToBox::Submit() {
    // Enter on a proposal reached with the arrows takes the proposal (Qt
    // hands the key to the field first): the reader goes on typing the
    // chapter.
    QAbstractItemView* proposals = completer_->popup();
    if (proposals->isVisible() && proposals->currentIndex().isValid() &&
        proposals->selectionModel()->isSelected(proposals->currentIndex()))
        return;
    proposals->hide();
    if (!names_ || !communs_) return;
    const std::string typed = ToCp1252(edit_->text());
    ParsedReference r = ParseReference(*names_, *communs_, typed);
    // A book the Bible read lacks opens in a Bible compared that has it.
    if (const ReadingCore* reading = Followed(); !r.ok && reading)
        for (const ComparedBible& other : reading->Comparison().Others()) {
            if (!other.tables) continue;
            const ParsedReference there =
                ParseReference(BookNames(*other.tables), *other.tables, typed);
            if (there.ok && communs_->Book(there.ref.Book).ChapterCount < 1) {
                r = there;
                break;
            }
        }
    if (!r.ok) {
        Say(FromCp1252(r.error));
        // Said at once, not only placed beside the box.
        Announce(window(), message_->text());
        return;
    }
    Say(QString());
    emit Go(r.ref.Book, r.ref.Chapter, r.ref.FirstVerse, r.ref.LastVerse);
    if (r.lastChapter > r.ref.Chapter) {
        const QString name = FromCp1252(names_->Name(r.ref.Book));
        ShowPlace(QStringLiteral("%1 %2-%3").arg(name).arg(r.ref.Chapter).arg(r.lastChapter));
        Say(QStringLiteral("Chapitres %1 à %2 : le chapitre %1 est ouvert ; la flèche du numéro "
                           "de chapitre mène aux suivants.")
                .arg(r.ref.Chapter)
                .arg(r.lastChapter));
    }
}

void GoToBox::ShowPlace(const QString& place) {
    // What the reader is typing stays while the page stays where it is.
    if (place == shown_ && edit_->hasFocus()) return;
    shown_ = place;
    const QSignalBlocker block(edit_);
    Say(QString());
    edit_->setText(place);
}

void GoToBox::Say(const QString& text) {
    message_->setText(text);
    message_->setToolTip(text);
    message_->setVisible(!text.isEmpty());
    edit_->setAccessibleDescription(text);
}

bool GoToBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        !completer_->popup()->isVisible()) {
        Say(QString());
        emit Leave();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace lorvane
