#pragma once

// The small windows of the reader's notes: the editor that asks for a
// note's text, and the window that shows a note, its references as links,
// with « Modifier » and « Supprimer ».

#include <QDialog>
#include <QString>
#include <optional>
#include <string>

#include "ReaderNotes.h"
#include "ReadingCore.h"

class QPlainTextEdit;
class QPushButton;
class QTextBrowser;

namespace lorvane {

// The editor: a note's text, plain with its line breaks, for the verses
// named `reference`. Ctrl+Entrée keeps it.
class NoteEditor : public QDialog {
    Q_OBJECT
  public:
    NoteEditor(QWidget* parent, const QString& reference, const QString& text);
    QString Text() const;
    QPlainTextEdit* Field() const { return field_; }

  private:
    QPlainTextEdit* field_;
};

// Asks for a note's text; nullopt when the reader gives up or leaves it
// empty.
std::optional<QString> AskNoteText(QWidget* parent, const QString& reference,
                                   const QString& text = {});

// The window of one note. Its references move the reading (and close it).
class NoteWindow : public QDialog {
    Q_OBJECT
  public:
    NoteWindow(QWidget* parent, ReaderNotes& notes, ReadingCore& reading, std::string id);

    QTextBrowser* Text() const { return text_; }
    QPushButton* ChangeButton() const { return change_; }
    QPushButton* RemoveButton() const { return remove_; }
    // « Modifier » asks through this (the editor by default); tests give
    // their own.
    void SetAsk(std::function<std::optional<QString>(const QString&, const QString&)> ask) {
        ask_ = std::move(ask);
    }
    void Change();
    void Remove();

  private:
    void Fill();

    ReaderNotes& notes_;
    ReadingCore& reading_;
    std::string id_;
    ReaderNotes::Subscription listening_;
    QTextBrowser* text_;
    QPushButton* change_;
    QPushButton* remove_;
    std::function<std::optional<QString>(const QString&, const QString&)> ask_;
};

// « Exporter les notes... »: writes the notes to a file the reader chooses
// (or `path`), as an HTML page when its name ends in .htm or .html, else as
// plain text. False, after saying why, when it was not written.
bool ExportNotes(QWidget* parent, const ReaderNotes& notes, QString path = {});
// « Importer des notes... »: merges a file of notes (an export, or a notes
// file of the program) chosen by the reader (or `path`), without
// duplicates, and says how many were added; -1 when nothing was read.
int ImportNotes(QWidget* parent, ReaderNotes& notes, QString path = {});

// A note's verses as the Bible read numbers them ("Jean 3:16-18"), from
// its Segond places.
QString NoteReferenceIn(const Communs& bible, const Note& note);

}  // namespace lorvane
