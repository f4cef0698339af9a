#pragma once

// The writing pad: a small rich-text editor for the reader's own notes,
// with a file and clipboard toolbar (ToolBar2) above a formatting toolbar of
// two rows (ToolBar1), over the text (RTFControl). Its files are Rich Text
// Format (the codec of Rtf.h); it prints on the default printer.
//
// The pad never drops unsaved text without asking: Nouveau, Ouvrir and the
// closing of the window it sits in (CanClose) ask "Enregistrer les
// modifications ?" first when the text was changed. Saves go through a
// temporary file renamed over the old one; a failed save or open changes
// neither the text nor FileName. A file that was read as plain text stays
// plain text, never overwritten with RTF: it is saved in the encoding and
// with the line ends it came with, and when the text has formatting that
// such a file loses, Enregistrer asks whether to save it as text all the
// same or as RTF under a new name (the same with .rtf proposed). A file or
// a pasted text too large for the pad's layout is refused before any long
// work, and the text stays.
//
// The usual shortcuts (Ctrl+N, O, S, Maj+S, P; Ctrl+L, E, R for the
// alignments; Ctrl+B, I, U) work wherever the focus is in the pad, and
// every button is reached with Tab, in screen order.

#include <QFrame>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "PadRules.h"
#include "Rtf.h"

class QAbstractButton;
class QAction;
class QButtonGroup;
class QColorDialog;
class QComboBox;
class QFileDialog;
class QKeyEvent;
class QLabel;
class QMimeData;
class QPrinter;
class QKeySequence;
class QResizeEvent;
class QTextCharFormat;
class QTextCursor;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace lorvane {

class TFrmRichEdit : public QFrame {
    Q_OBJECT
  public:
    explicit TFrmRichEdit(QWidget* parent = nullptr);

    // Controls, named as the pad knows them.
    QTextEdit* RTFControl = nullptr;
    // Two rows, ToolBar1Row1 and ToolBar1Row2. The rows are plain rows, not
    // toolbars: in a narrow panel the typeface box narrows rather than
    // hiding buttons behind an extension arrow.
    QWidget* ToolBar1 = nullptr;
    QWidget* ToolBar1Row1 = nullptr;
    QWidget* ToolBar1Row2 = nullptr;
    QComboBox* Fontname = nullptr;
    QComboBox* FontSize = nullptr;
    QToolButton* BoldButton = nullptr;
    QToolButton* ItalicButton = nullptr;
    QToolButton* UnderlineButton = nullptr;
    QToolButton* LeftAlign = nullptr;
    QToolButton* CenterAlign = nullptr;
    QToolButton* RightAlign = nullptr;
    QButtonGroup* AlignGroup = nullptr;  // the value of each button is its id
    QToolButton* BulletsButton = nullptr;
    QToolButton* ToolButton1 = nullptr;
    // The text colour dialog, made when first needed.
    QColorDialog* ColorDialog1();
    QToolButton* Superscript = nullptr;
    QToolButton* Subscript = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QWidget* ToolButton4 = nullptr;  // separators of ToolBar1
    QWidget* ToolButton5 = nullptr;
    QWidget* ToolButton6 = nullptr;
    QWidget* ToolButton7 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QToolButton* BtnNew = nullptr;
    QToolButton* BtnOpen = nullptr;
    QToolButton* BtnSave = nullptr;
    QAction* ToolButton11 = nullptr;
    QToolButton* BtnSaveAs = nullptr;
    QAction* ToolButton12 = nullptr;
    QToolButton* BtnPrint = nullptr;
    QToolButton* BtnCut = nullptr;
    QToolButton* BtnCopy = nullptr;
    // The open and save dialogs, made when first needed: a file dialog reads
    // its folder as soon as it exists.
    QFileDialog* OD();
    QFileDialog* SD();
    QToolButton* BtnPaste = nullptr;
    // The file's name (or "Sans titre") and whether the text has changes
    // not saved yet.
    QLabel* FileLabel = nullptr;

    // Set by Ctrl+I: the character of that key never reaches the text.
    bool SkipNextChar = false;
    // The full path of the pad's file (bytes); empty: the text has none yet.
    std::string FileName;

    // Handlers.
    void RTFControlSelectionChange();
    // Ctrl or Alt with B, I or U toggles the style; true when it did.
    bool RTFControlKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // true when the character is discarded.
    bool RTFControlKeyPress(const QString& text);
    void FontnameChange();
    void FontSizeChange();
    void BoldButtonClick();
    void ItalicButtonClick();
    void UnderlineButtonClick();
    void LeftAlignClick(QAbstractButton* sender);
    void BulletsButtonClick();
    void ToolButton1Click();
    void SuperscriptClick();
    void SubscriptClick();
    void ToolButton2Click();
    void ToolButton3Click();
    void BtnNewClick();
    void BtnOpenClick();
    void BtnSaveClick();
    void BtnSaveAsClick();
    void BtnPrintClick();
    void BtnCutClick();
    void BtnCopyClick();
    void BtnPasteClick();

    // Whether the text was changed since it was last new, opened or saved.
    bool Modified() const;
    // Asks "Enregistrer les modifications ?" when the text was changed:
    // Oui saves (false when the save is cancelled or fails), Non goes on,
    // Annuler returns false. true at once when nothing changed.
    bool CanClose();

    // Replaces the text with the file's; FileName becomes path. Throws,
    // leaving the text and FileName as they were, when the file cannot be
    // read.
    void LoadFromFile(const std::string& path);
    // Saves the text to path as RTF; FileName becomes path. Throws, leaving
    // the old file and FileName as they were.
    void SaveToFile(const std::string& path);
    // Saves the text to path as plain text, in the encoding and with the
    // line ends of the text file opened last (rtf::TextSaveFormat); the
    // formatting is lost. FileName becomes path. Throws, leaving the old
    // file and FileName as they were.
    void SaveTextToFile(const std::string& path);
    // Says the file saved to a screen reader: « Enregistré : nom.rtf ».
    void SaySaved(const std::string& path);
    // Prints the whole text on the printer as a job titled "Lorvane".
    void PrintOn(QPrinter& printer);
    // Inserts pasted or dropped data at the caret: rich text keeps what
    // the pad's files hold, in point sizes; a text that would make the pad
    // too large is refused with a message.
    void InsertFromMime(const QMimeData& source);
    // The documents folder, else the home folder: where the dialogs start
    // and where notes are kept when the program is ended.
    static QString StartFolder();
    // Writes the unsaved text as RTF into folder, under a name of its own
    // ("Notes non enregistrées AAAA-MM-JJ HH-MM.rtf" at `now`); returns its
    // path, or "" when nothing was unsaved. Throws when it cannot write.
    std::string RescueNotes(const std::string& folder, std::time_t now);
    // Says something in the status line under the text, in place of the
    // file's name, until the text changes.
    void ShowNotice(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QColorDialog* colorDialog_ = nullptr;
    QFileDialog* openDialog_ = nullptr;
    QFileDialog* saveDialog_ = nullptr;

    QToolButton* Button(QWidget* bar, const char* name, const QIcon& icon, const QString& tip,
                        bool checkable, const char* keys = nullptr);
    void AddShortcut(const QKeySequence& keys, std::function<void()> run);
    bool IsPadShortcut(const QKeyEvent& key) const;
    QFileDialog* NewDialog(bool save);
    // Shows a fresh dialog in the last folder used; true with *path when the
    // reader chose a file.
    bool AskFile(bool save, std::string* path);
    void UpdateFileLabel();
    QWidget* Separator(QWidget* row);
    bool Save();
    bool SaveAs();
    // Saves a file read as plain text as text; when the text has formatting
    // the reader chooses text, RTF under another name, or nothing.
    bool SaveText(const std::string& path);
    // The selection's character format (at its start).
    QTextCharFormat SelectionFormat() const;
    void MergeFormat(const QTextCharFormat& format);
    // Sets the vertical offset of the selection, fragment by fragment.
    void ApplyOffset(int halfPoints);
    // Re-applies the offsets of the selection after a size change.
    void RefreshOffsets();
    void ShowCurrentSize();
    QString BoxTitle() const;
    void SetDocument(const rtf::Document& model);

    // FileName was read as plain text: never written over with RTF.
    bool plainTextFile_ = false;
    // How that plain-text file is written.
    rtf::TextFormat textFormat_;
    // Where the next file dialog starts.
    QString folder_;
    // What the status line says in place of the file's name, if anything.
    QString notice_;
    std::vector<QAction*> shortcuts_;
};

}  // namespace lorvane
