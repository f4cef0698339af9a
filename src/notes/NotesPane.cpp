#include "NotesPane.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "Accessible.h"
#include "ErrorDisplay.h"
#include "NoteWindows.h"
#include "QtText.h"
#include "Quote.h"

namespace lorvane {
namespace {

// What a row stands for: a note (its identity) or a highlighted verse (its
// Segond place).
constexpr int kNoteRole = Qt::UserRole;
constexpr int kVerseRole = Qt::UserRole + 1;

QString FirstLine(const std::string& text) {
    return ShortenAtWord(FromUtf8(std::string_view(text).substr(0, text.find('\n'))), 80);
}

QString ColourTitle(Colour colour) {
    const std::string_view name = ColourName(colour);
    return QStringLiteral("Surligné en ") +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

NotesPane::NotesPane(ReaderNotes& notes, ReadingCore& reading, QWidget* parent)
    : QWidget(parent),
      notes_(notes),
      reading_(reading),
      filter_(new QLineEdit(this)),
      list_(new QTreeWidget(this)),
      undoText_(new QLabel(this)),
      undo_(new QPushButton(QStringLiteral("&Annuler"), this)) {
    setObjectName("PanneauNotes");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    filter_->setObjectName("FiltreNotes");
    filter_->setAccessibleName(QStringLiteral("Filtrer les notes"));
    filter_->setPlaceholderText(QStringLiteral("Filtrer les notes"));
    filter_->setClearButtonEnabled(true);
    filter_->installEventFilter(this);
    column->addWidget(filter_);
    list_->setObjectName("LBNotes");
    list_->setAccessibleName(QStringLiteral("Notes"));
    list_->setHeaderHidden(true);
    list_->setUniformRowHeights(true);
    list_->installEventFilter(this);
    column->addWidget(list_, 1);
    auto* undoRow = new QHBoxLayout;
    undoRow->setContentsMargins(4, 0, 4, 4);
    undoText_->setWordWrap(true);
    undo_->setObjectName("BtnAnnulerNote");
    undoRow->addWidget(undoText_, 1);
    undoRow->addWidget(undo_);
    column->addLayout(undoRow);
    undoText_->hide();
    undo_->hide();

    connect(filter_, &QLineEdit::textChanged, this, [this] { Fill(); });
    connect(list_, &QTreeWidget::itemActivated, this,
            GuardedSlot([this](QTreeWidgetItem* item, int) { OpenItem(item); }));
    connect(undo_, &QPushButton::clicked, this, GuardedSlot([this] { Undo(); }));
    listening_ = notes_.Listen([this] { Refill(); });
    reading_.Subscribe(this);
}

void NotesPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) Fill();
}

void NotesPane::Refill() {
    stale_ = true;
    if (isVisible()) Fill();
}

void NotesPane::Fill() {
    stale_ = false;
    const Communs& bible = reading_.Tables();
    // The row read stays current when it is still there.
    const QTreeWidgetItem* current = list_->currentItem();
    const QVariant currentNote = current ? current->data(0, kNoteRole) : QVariant();
    const QVariant currentVerse = current ? current->data(0, kVerseRole) : QVariant();
    QTreeWidgetItem* keep = nullptr;

    list_->setUpdatesEnabled(false);
    list_->clear();
    const std::vector<Note> notes = notes_.Book().Filter(ToUtf8(filter_->text()));
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(notes.size()));
    for (const Note& n : notes) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, NoteReferenceIn(bible, n) + QStringLiteral(" — ") + FirstLine(n.text));
        const QString id = QString::fromLatin1(n.id.data(), static_cast<qsizetype>(n.id.size()));
        item->setData(0, kNoteRole, id);
        if (currentNote.isValid() && currentNote.toString() == id) keep = item;
        rows.push_back(item);
    }
    list_->addTopLevelItems(rows);
    if (notes.empty())
        list_->addTopLevelItem(new QTreeWidgetItem(
            {filter_->text().isEmpty() ? QStringLiteral("Aucune note. « Annoter ce verset... » "
                                                        "dans le menu du texte en ajoute une.")
                                       : QStringLiteral("Aucune note ne contient ces mots.")}));

    const std::vector<Highlight> highlights = notes_.Book().Highlights();
    for (int c = 1; c <= kColourCount; ++c) {
        const auto colour = static_cast<Colour>(c);
        QTreeWidgetItem* group = nullptr;
        for (const Highlight& h : highlights) {
            if (h.colour != colour) continue;
            if (!group) {
                group = new QTreeWidgetItem(list_, {ColourTitle(colour)});
                group->setBackground(0, QColor(QRgb(ColourRgb(colour))));
                group->setFlags(Qt::ItemIsEnabled);
                group->setExpanded(true);
            }
            const VersePlace own = bible.VerseNumbering->FromSegond(h.verse).First();
            QString text =
                own ? FromUtf8(bible.FormatRef(BookOf(own), ChapterOf(own), VerseOf(own), 0))
                    : FromUtf8(NoteReference(h.verse, 0));
            if (own) {
                text +=
                    QStringLiteral(" — ") +
                    ShortenAtWord(
                        FromUtf8(VersesText(bible, BookOf(own), ChapterOf(own), VerseOf(own), 0)),
                        60);
            }
            auto* item = new QTreeWidgetItem(group, {text});
            item->setData(0, kVerseRole, static_cast<uint>(h.verse));
            if (currentVerse.isValid() && currentVerse.toUInt() == h.verse) keep = item;
        }
        if (group)
            group->setText(0, group->text(0) + QStringLiteral(" (%1)").arg(group->childCount()));
    }
    list_->setUpdatesEnabled(true);

    QTreeWidgetItem* item = keep ? keep : list_->topLevelItem(0);
    if (!item) return;
    if (list_->hasFocus()) {
        list_->setCurrentItem(item);
    } else {
        // Qt's tree view tells a screen reader of its new current row as a
        // focus, even hidden: a list filled out of the reader's sight would
        // take the speech from where the reader is.
        const QSignalBlocker quiet(list_->selectionModel());
        list_->selectionModel()->setCurrentIndex(
            list_->indexFromItem(item),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list_->viewport()->update();
    }
}

void NotesPane::OpenItem(QTreeWidgetItem* item) {
    if (!item) return;
    VersePlace first = 0, last = 0;
    if (const QVariant id = item->data(0, kNoteRole); id.isValid()) {
        const Note* note = notes_.Find(id.toString().toStdString());
        if (!note) return;
        first = note->first;
        last = note->last;
    } else if (const QVariant verse = item->data(0, kVerseRole); verse.isValid()) {
        first = verse.toUInt();
    } else {
        return;
    }
    const Numbering& numbering = *reading_.Tables().VerseNumbering;
    const VersePlace own = numbering.FromSegond(first).First();
    if (own == 0) return;
    const VersePlace ownLast = last ? numbering.FromSegond(last).Last() : 0;
    const int lastVerse = ownLast && ChapterOf(ownLast) == ChapterOf(own) ? VerseOf(ownLast) : 0;
    reading_.MoveTo(Place{BookOf(own), ChapterOf(own), VerseOf(own), -1},
                    VerseSpan{VerseOf(own), lastVerse});
    emit Opened();
}

void NotesPane::RemoveCurrent() {
    QTreeWidgetItem* item = list_->currentItem();
    if (!item) return;
    const int row = list_->indexOfTopLevelItem(item);
    // The change fills the list again: what the row says is taken first.
    const QString label = item->text(0).section(QStringLiteral(" — "), 0, 0);
    try {
        if (const QVariant id = item->data(0, kNoteRole); id.isValid()) {
            std::optional<Note> removed = notes_.Remove(id.toString().toStdString());
            if (!removed) return;
            const QString what = NoteReferenceIn(reading_.Tables(), *removed);
            undoLast_ = [this, note = std::move(*removed)] { notes_.Restore(note); };
            undoText_->setText(QStringLiteral("Note sur %1 supprimée.").arg(what));
        } else if (const QVariant verse = item->data(0, kVerseRole); verse.isValid()) {
            const VersePlace place = verse.toUInt();
            const Colour colour = notes_.Book().HighlightAt(place);
            notes_.SetAt(place, Colour::None);
            undoLast_ = [this, place, colour] { notes_.SetAt(place, colour); };
            undoText_->setText(QStringLiteral("Surlignage de %1 effacé.").arg(label));
        } else {
            return;
        }
    } catch (const std::exception& e) {
        ShowDefaultError(QString::fromUtf8(e.what()));
        return;
    }
    undoText_->show();
    undo_->show();
    // The row that took its place is read next.
    if (row >= 0 && list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(std::min(row, list_->topLevelItemCount() - 1)));
    Announce(list_, undoText_->text());
}

void NotesPane::Undo() {
    if (!undoLast_) return;
    const std::function<void()> undo = std::exchange(undoLast_, {});
    undoText_->hide();
    undo_->hide();
    try {
        undo();
    } catch (const std::exception& e) {
        ShowDefaultError(QString::fromUtf8(e.what()));
    }
    list_->setFocus();
}

bool NotesPane::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == list_ && key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
        Guarded([this] { RemoveCurrent(); });
        return true;
    }
    // Down from the filter goes into the list.
    if (watched == filter_ && key->key() == Qt::Key_Down) {
        list_->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace lorvane
