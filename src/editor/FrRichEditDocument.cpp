// The pad's document: new, open, save and print, the dialogs that choose
// the files, the status line, and what a paste may bring in.

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <algorithm>
#include <stdexcept>

#include "Accessible.h"
#include "DocumentFile.h"
#include "ErrorDisplay.h"
#include "FrRichEdit.h"
#include "FrRichEditParts.h"
#include "PadRules.h"
#include "QtPath.h"
#include "Rtf.h"
#include "RtfQt.h"

namespace lorvane {

using pad::PadFont;
using pad::PadTextEdit;

namespace {

QString FolderOf(const std::string& path) {
    return QFileInfo(PathToQt(path)).absolutePath();
}

QString BaseNameOf(const std::string& path) {
    return QFileInfo(PathToQt(path)).fileName();
}

}  // namespace

QFileDialog* TFrmRichEdit::NewDialog(bool save) {
    auto* dialog = new QFileDialog(this);
    if (save) {
        dialog->setObjectName("SD");
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setNameFilters({QStringLiteral("Fichier texte enrichi (*.RTF)"),
                                QStringLiteral("Tous les fichiers (*)")});
    } else {
        dialog->setObjectName("OD");
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        // The pad reads RTF and plain text, whatever the case of their
        // extension. Each filter shows its name; the patterns in force,
        // which take both cases, are the last brackets, not shown.
        dialog->setOption(QFileDialog::HideNameFilterDetails);
        dialog->setNameFilters(
            {QStringLiteral("Textes (*.rtf *.txt) (*.[rR][tT][fF] *.[tT][xX][tT])"),
             QStringLiteral("RTF (*.rtf) (*.[rR][tT][fF])"),
             QStringLiteral("Texte (*.txt) (*.[tT][xX][tT])"),
             QStringLiteral("Tous les fichiers (*) (*)")});
    }
    dialog->setDefaultSuffix(QStringLiteral("rtf"));
    dialog->setDirectory(folder_);
    return dialog;
}

bool TFrmRichEdit::AskFile(bool save, std::string* path) {
    QFileDialog*& dialog = save ? saveDialog_ : openDialog_;
    if (!dialog) dialog = NewDialog(save);
    dialog->setDirectory(folder_);
    // Open starts with an empty name, save with the file's own; a text file
    // whose text has formatting, with .rtf in place of its extension.
    if (save && !FileName.empty()) {
        const bool rtfName =
            plainTextFile_ && rtf::HasFormatting(DocumentFromQt(*RTFControl->document()));
        dialog->selectFile(BaseNameOf(rtfName ? rtf::RtfNameFor(FileName) : FileName));
    }
    const bool chosen = dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
    if (chosen) *path = PathFromQt(dialog->selectedFiles().first());
    // Each dialog is used once. Its name completion lists the names that
    // begin as typed in a pop-up window of its own; Enter accepts the dialog
    // while that list shows, and the list stayed on screen over the main
    // window once the dialog was gone, taking the next click and keys. A
    // used dialog goes, its list with it, and the next one starts afresh.
    delete dialog;
    dialog = nullptr;
    return chosen;
}

void TFrmRichEdit::ShowNotice(const QString& text) {
    notice_ = text;
    UpdateFileLabel();
}

void TFrmRichEdit::UpdateFileLabel() {
    if (!FileLabel) return;
    const QString name = FileName.empty() ? QStringLiteral("Sans titre") : BaseNameOf(FileName);
    if (Modified()) notice_.clear();
    const QString text = !notice_.isEmpty() ? notice_
                         : Modified()       ? name + QString::fromUtf8(" (modifié)")
                                            : name;
    FileLabel->setToolTip(FileName.empty() ? text : PathToQt(FileName));
    const int room = std::max(20, width() - 8);
    FileLabel->setText(FileLabel->fontMetrics().elidedText(text, Qt::ElideMiddle, room));
}

void TFrmRichEdit::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    UpdateFileLabel();
}

QString TFrmRichEdit::StartFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString TFrmRichEdit::BoxTitle() const {
    return QStringLiteral("Lorvane");
}

QFileDialog* TFrmRichEdit::OD() {
    if (!openDialog_) openDialog_ = NewDialog(false);
    return openDialog_;
}

QFileDialog* TFrmRichEdit::SD() {
    if (!saveDialog_) saveDialog_ = NewDialog(true);
    return saveDialog_;
}

// ---------------------------------------------------------------------------
// Files

bool TFrmRichEdit::Modified() const {
    return RTFControl->document()->isModified();
}

bool TFrmRichEdit::CanClose() {
    if (!Modified()) return true;
    QMessageBox box(QMessageBox::Question, BoxTitle(),
                    QStringLiteral("Enregistrer les modifications ?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.setObjectName("SaveChangesBox");
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Save();
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

void TFrmRichEdit::LoadFromFile(const std::string& path) {
    const std::string bytes = rtf::ReadDocumentFile(path);
    // Refused before any long work: reading a file beyond the first limit
    // takes longer than the pad may, the layout of a text beyond the others.
    if (bytes.size() > rtf::kPadMaxFileBytes)
        throw rtf::FileError(
            rtf::TooLargeMessage(true, {bytes.size(), rtf::CountParagraphs(bytes)}));
    const rtf::Document model = rtf::Read(bytes);
    if (!rtf::PadTakes(rtf::TextExtent(model)))
        throw rtf::FileError(
            rtf::TooLargeMessage(true, {bytes.size(), rtf::TextExtent(model).paragraphs}));
    SetDocument(model);
    notice_.clear();
    FileName = path;
    plainTextFile_ = !rtf::IsRtf(bytes);
    textFormat_ = plainTextFile_ ? rtf::DetectTextFormat(bytes) : rtf::TextFormat{};
    folder_ = FolderOf(path);
    RTFControl->moveCursor(QTextCursor::Start);
    RTFControl->setCurrentCharFormat(RTFControl->textCursor().charFormat());
    RTFControlSelectionChange();
    UpdateFileLabel();
}

void TFrmRichEdit::SetDocument(const rtf::Document& model) {
    // Filled apart, then handed to the text at once: filled in place, every
    // paragraph would be laid out again and again.
    auto* doc = new QTextDocument(RTFControl);
    doc->setDefaultFont(PadFont());
    DocumentToQt(model, *doc);
    // The text deletes the document it had when it was its child.
    RTFControl->setDocument(doc);
}

void TFrmRichEdit::SaveToFile(const std::string& path) {
    const std::string bytes = rtf::Write(DocumentFromQt(*RTFControl->document()));
    rtf::SaveDocumentFile(path, bytes);
    FileName = path;
    plainTextFile_ = false;
    notice_.clear();
    folder_ = FolderOf(path);
    RTFControl->document()->setModified(false);
    UpdateFileLabel();
    SaySaved(path);
}

void TFrmRichEdit::SaySaved(const std::string& path) {
    Announce(this, QStringLiteral("Enregistré : ") +
                       QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName());
}

void TFrmRichEdit::SaveTextToFile(const std::string& path) {
    const rtf::Document model = DocumentFromQt(*RTFControl->document());
    const rtf::TextFormat format = rtf::TextSaveFormat(model, textFormat_);
    rtf::SaveDocumentFile(path, rtf::WriteText(model, format));
    const bool widened = format.encoding != textFormat_.encoding;
    FileName = path;
    plainTextFile_ = true;
    textFormat_ = format;
    notice_.clear();
    folder_ = FolderOf(path);
    RTFControl->document()->setModified(false);
    if (widened)
        ShowNotice(
            QString::fromUtf8("Enregistré en UTF-8 : le texte a des caractères que "
                              "l'encodage Windows-1252 du fichier n'a pas."));
    UpdateFileLabel();
    SaySaved(path);
}

std::string TFrmRichEdit::RescueNotes(const std::string& folder, std::time_t now) {
    if (!Modified()) return {};
    std::tm local{};
    ::localtime_r(&now, &local);
    const std::string name = rtf::RescueFileName(local);
    // Never over another file: "... (2).rtf" and on.
    std::string path = folder + "/" + name;
    for (int n = 2; QFileInfo::exists(PathToQt(path)); ++n)
        path = folder + "/" + name.substr(0, name.size() - 4) + " (" + std::to_string(n) + ").rtf";
    rtf::SaveDocumentFile(path, rtf::Write(DocumentFromQt(*RTFControl->document())));
    return path;
}

void TFrmRichEdit::InsertFromMime(const QMimeData& source) {
    const QTextDocument* current = RTFControl->document();
    const rtf::Extent there{static_cast<std::size_t>(current->characterCount()),
                            static_cast<std::size_t>(current->blockCount())};
    auto fits = [&](const rtf::Extent& pasted) {
        if (rtf::PadTakes({there.bytes + pasted.bytes, there.paragraphs + pasted.paragraphs - 1}))
            return true;
        QMessageBox box(QMessageBox::Information, BoxTitle(),
                        QString::fromStdString(rtf::TooLargeMessage(false, pasted)),
                        QMessageBox::Ok, this);
        box.setObjectName("TooLargeBox");
        box.exec();
        return false;
    };
    const QString plain = source.hasText() ? source.text() : QString();
    const std::string plainBytes = plain.toStdString();
    const rtf::Extent plainSize{plainBytes.size(), rtf::CountParagraphs(plainBytes)};
    if (!(source.hasHtml() && RTFControl->acceptRichText())) {
        if (fits(plainSize)) static_cast<PadTextEdit*>(RTFControl)->InsertPlain(&source);
        return;
    }
    const QString html = source.html();
    if (static_cast<std::size_t>(html.size()) > rtf::kPadMaxFileBytes) {
        fits({static_cast<std::size_t>(html.size()), plainSize.paragraphs});
        return;
    }
    // Rich text goes through the pad's own documents: it keeps what the
    // pad's files hold (typeface, sizes in points, bold, italic, underline,
    // colour, offsets, alignment, bullets, indents), so that what the
    // reader sees now is what they see once the file is saved and opened.
    QTextDocument pasted;
    pasted.setDefaultFont(current->defaultFont());
    pasted.setHtml(html);
    const rtf::Document model = DocumentFromQt(pasted);
    if (!fits(rtf::TextExtent(model))) return;
    QTextDocument clean;
    clean.setDefaultFont(current->defaultFont());
    DocumentToQt(model, clean);
    RTFControl->textCursor().insertFragment(QTextDocumentFragment(&clean));
    RTFControl->ensureCursorVisible();
}

bool TFrmRichEdit::Save() {
    if (FileName.empty()) return SaveAs();
    if (plainTextFile_) return SaveText(FileName);
    try {
        SaveToFile(FileName);
        return true;
    } catch (...) {
        ShowDefaultError(CurrentErrorMessage());
        return false;
    }
}

bool TFrmRichEdit::SaveAs() {
    std::string path;
    if (!AskFile(true, &path)) return false;
    // A text file saved over itself, or under another .txt name, stays text.
    if (plainTextFile_ && (path == FileName || rtf::IsTextFileName(path))) return SaveText(path);
    try {
        SaveToFile(path);
        return true;
    } catch (...) {
        ShowDefaultError(CurrentErrorMessage());
        return false;
    }
}

bool TFrmRichEdit::SaveText(const std::string& path) {
    if (rtf::HasFormatting(DocumentFromQt(*RTFControl->document()))) {
        QMessageBox box(QMessageBox::Question, BoxTitle(),
                        QString::fromUtf8("« %1 » est un fichier texte : il ne garde pas la mise "
                                          "en forme (polices, gras, couleurs, alignements, "
                                          "listes).")
                            .arg(BaseNameOf(path)),
                        QMessageBox::NoButton, this);
        box.setObjectName("SaveAsTextBox");
        QPushButton* text =
            box.addButton(QString::fromUtf8("Enregistrer en texte (la mise en forme sera perdue)"),
                          QMessageBox::AcceptRole);
        QPushButton* rich =
            box.addButton(QStringLiteral("Enregistrer en RTF..."), QMessageBox::ActionRole);
        QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
        // Enter loses nothing.
        box.setDefaultButton(rich);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == rich) return SaveAs();
        if (box.clickedButton() != text) return false;
    }
    try {
        SaveTextToFile(path);
        return true;
    } catch (...) {
        ShowDefaultError(CurrentErrorMessage());
        return false;
    }
}

void TFrmRichEdit::BtnNewClick() {
    if (!CanClose()) return;
    FileName.clear();
    plainTextFile_ = false;
    textFormat_ = {};
    notice_.clear();
    RTFControl->clear();
    RTFControl->setCurrentCharFormat(QTextCharFormat());
    RTFControl->document()->setModified(false);
    RTFControlSelectionChange();
    UpdateFileLabel();
    RTFControl->setFocus();
}

void TFrmRichEdit::BtnOpenClick() {
    if (!CanClose()) return;
    std::string path;
    if (!AskFile(false, &path)) return;
    RTFControl->setFocus();
    LoadFromFile(path);
}

void TFrmRichEdit::BtnSaveClick() {
    Save();
}

void TFrmRichEdit::BtnSaveAsClick() {
    SaveAs();
}

void TFrmRichEdit::PrintOn(QPrinter& printer) {
    printer.setDocName(QStringLiteral("Lorvane"));
    RTFControl->document()->print(&printer);
    if (printer.printerState() == QPrinter::Error)
        throw std::runtime_error("L'impression a échoué.");
}

void TFrmRichEdit::BtnPrintClick() {
    QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (!printers.isEmpty()) target = printers.first();
    }
    if (target.isNull()) {
        QMessageBox box(QMessageBox::Information, BoxTitle(),
                        QString::fromUtf8("Aucune imprimante n'est installée."), QMessageBox::Ok,
                        this);
        box.setObjectName("NoPrinterBox");
        box.exec();
        return;
    }
    QPrinter printer(target, QPrinter::HighResolution);
    PrintOn(printer);
}

}  // namespace lorvane
