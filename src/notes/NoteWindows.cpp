#include "NoteWindows.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "Accessible.h"
#include "ErrorDisplay.h"
#include "FileIo.h"
#include "QtPath.h"
#include "QtText.h"
#include "References.h"

namespace lorvane {

QString NoteReferenceIn(const Communs& bible, const Note& note) {
    const Numbering& numbering = *bible.VerseNumbering;
    const VersePlace first = numbering.FromSegond(note.first).First();
    if (first == 0) return FromUtf8(NoteReference(note.first, note.last));
    const VersePlace last = note.last ? numbering.FromSegond(note.last).Last() : 0;
    const int lastVerse =
        last != 0 && ChapterOf(last) == ChapterOf(first) && last > first ? VerseOf(last) : 0;
    return FromUtf8(bible.FormatRef(BookOf(first), ChapterOf(first), VerseOf(first), lastVerse));
}

NoteEditor::NoteEditor(QWidget* parent, const QString& reference, const QString& text)
    : QDialog(parent), field_(new QPlainTextEdit(this)) {
    setObjectName("NoteEditor");
    setWindowTitle(QStringLiteral("Note sur ") + reference);
    auto* column = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Texte de la note sur %1 :").arg(reference), this);
    label->setBuddy(field_);
    column->addWidget(label);
    field_->setObjectName("NoteTexte");
    field_->setAccessibleName(QStringLiteral("Texte de la note sur ") + reference);
    field_->setPlainText(text);
    field_->setTabChangesFocus(true);
    field_->moveCursor(QTextCursor::End);
    column->addWidget(field_, 1);
    auto* hint = new QLabel(
        QStringLiteral("Une référence écrite comme « Rm 8:28 » deviendra un lien."), this);
    hint->setWordWrap(true);
    column->addWidget(hint);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Enregistrer"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    auto* keep = new QAction(this);
    keep->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    connect(keep, &QAction::triggered, this, &QDialog::accept);
    addAction(keep);
    resize(420, 260);
}

QString NoteEditor::Text() const {
    return field_->toPlainText();
}

std::optional<QString> AskNoteText(QWidget* parent, const QString& reference, const QString& text) {
    NoteEditor editor(parent, reference, text);
    if (editor.exec() != QDialog::Accepted) return std::nullopt;
    const QString typed = editor.Text();
    if (typed.trimmed().isEmpty()) return std::nullopt;
    return typed;
}

NoteWindow::NoteWindow(QWidget* parent, ReaderNotes& notes, ReadingCore& reading, std::string id)
    : QDialog(parent),
      notes_(notes),
      reading_(reading),
      id_(std::move(id)),
      text_(new QTextBrowser(this)),
      change_(new QPushButton(QStringLiteral("&Modifier"), this)),
      remove_(new QPushButton(QStringLiteral("&Supprimer"), this)),
      ask_([this](const QString& reference, const QString& text) {
          return AskNoteText(this, reference, text);
      }) {
    setObjectName("NoteWindow");
    auto* column = new QVBoxLayout(this);
    text_->setObjectName("NoteLue");
    text_->setOpenLinks(false);
    column->addWidget(text_, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(change_, QDialogButtonBox::ActionRole);
    buttons->addButton(remove_, QDialogButtonBox::DestructiveRole);
    buttons->addButton(QStringLiteral("&Fermer"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    connect(change_, &QPushButton::clicked, this, GuardedSlot([this] { Change(); }));
    connect(remove_, &QPushButton::clicked, this, GuardedSlot([this] { Remove(); }));
    connect(
        text_, &QTextBrowser::anchorClicked, this, GuardedSlot([this](const QUrl& url) {
            const std::optional<ReferenceSpan> r = ReferenceOfLink(url.toString().toStdString());
            if (!r) return;
            reading_.MoveTo(Place{r->book, r->chapter, r->first, -1}, VerseSpan{r->first, r->last});
            accept();
        }));
    listening_ = notes_.Listen([this] { Fill(); });
    Fill();
    resize(420, 260);
}

void NoteWindow::Fill() {
    const Note* note = notes_.Find(id_);
    if (!note) {
        text_->setHtml(QStringLiteral("<i>Cette note a été supprimée.</i>"));
        change_->setEnabled(false);
        remove_->setEnabled(false);
        return;
    }
    const Communs& bible = reading_.Tables();
    const QString reference = NoteReferenceIn(bible, *note);
    setWindowTitle(QStringLiteral("Note sur ") + reference);
    text_->setAccessibleName(QStringLiteral("Note sur ") + reference);
    const BookNames names(bible);
    text_->setHtml(FromUtf8(NoteTextHtml(note->text, FindReferences(note->text, names, bible))));
}

void NoteWindow::Change() {
    const Note* note = notes_.Find(id_);
    if (!note) return;
    const std::optional<QString> text =
        ask_(NoteReferenceIn(reading_.Tables(), *note), FromUtf8(note->text));
    if (!text) return;
    try {
        notes_.Change(id_, ToUtf8(*text));
    } catch (const std::exception& e) {
        ShowDefaultError(QString::fromUtf8(e.what()));
    }
}

void NoteWindow::Remove() {
    try {
        notes_.Remove(id_);
    } catch (const std::exception& e) {
        ShowDefaultError(QString::fromUtf8(e.what()));
    }
    accept();
}

namespace {

QString DocumentsFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

void Tell(QWidget* parent, QMessageBox::Icon icon, const QString& text, const char* name) {
    QMessageBox box(icon, QStringLiteral("Lorvane"), text, QMessageBox::Ok, parent);
    box.setObjectName(name);
    box.exec();
}

}  // namespace

bool ExportNotes(QWidget* parent, const ReaderNotes& notes, QString path) {
    if (path.isEmpty()) {
        const QString page = QStringLiteral("Page HTML (*.html *.htm)");
        QString chosen = page;
        path = QFileDialog::getSaveFileName(
            parent, QStringLiteral("Exporter les notes"),
            DocumentsFolder() + QStringLiteral("/Notes de Lorvane.html"),
            page + QStringLiteral(";;Texte (*.txt)"), &chosen);
        if (path.isEmpty()) return false;
        if (QFileInfo(path).suffix().isEmpty())
            path += chosen == page ? QStringLiteral(".html") : QStringLiteral(".txt");
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool html = suffix == QStringLiteral("html") || suffix == QStringLiteral("htm");
    try {
        WriteFileAtomically(PathFromQt(path),
                            html ? notes.Book().ExportHtml() : notes.Book().ExportText());
    } catch (const std::exception& e) {
        Tell(parent, QMessageBox::Warning,
             QStringLiteral("Les notes n'ont pas été exportées : ") + QString::fromUtf8(e.what()),
             "ExportNotesFailure");
        return false;
    }
    return true;
}

int ImportNotes(QWidget* parent, ReaderNotes& notes, QString path) {
    if (path.isEmpty()) {
        path = QFileDialog::getOpenFileName(
            parent, QStringLiteral("Importer des notes"), DocumentsFolder(),
            QStringLiteral("Notes (*.html *.htm *.txt);;Tous les fichiers (*)"));
        if (path.isEmpty()) return -1;
    }
    int added = 0;
    try {
        added = notes.Import(ReadFile(PathFromQt(path), NoteBook::kMaxFileBytes));
    } catch (const std::exception& e) {
        Tell(parent, QMessageBox::Warning,
             QStringLiteral("Les notes n'ont pas été importées : ") + QString::fromUtf8(e.what()),
             "ImportNotesFailure");
        return -1;
    }
    Tell(parent, QMessageBox::Information,
         added == 0   ? QStringLiteral("Aucune note nouvelle dans ce fichier.")
         : added == 1 ? QStringLiteral("1 note ajoutée.")
                      : QStringLiteral("%1 notes ajoutées.").arg(added),
         "ImportNotesDone");
    return added;
}

}  // namespace lorvane
