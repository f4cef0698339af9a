#pragma once

// The chapter on paper: the chapter page with a title above it, its links
// drawn as plain text, printed or written as an A4 PDF with its fonts.

#include <QString>
#include <memory>

class QTextDocument;
class QWidget;

namespace lorvane {

class ReadingCore;

std::unique_ptr<QTextDocument> ChapterDocument(const QString& pageHtml, const QString& title);

// Writes the PDF; false with a French sentence in `error` when it cannot.
bool WriteChapterPdf(const QString& path, const QString& pageHtml, const QString& title,
                     QString* error);

// Prints on the default printer (else the first one); without a printer,
// says so.
void PrintChapter(QWidget* parent, const QString& pageHtml, const QString& title);

// The chapter read, as the reading pane shows it (its comparison
// included), printed, or saved as PDF in `path` (asked for when empty); a
// PDF that cannot be written is said in a box.
void PrintReading(QWidget* parent, ReadingCore& reading);
void SaveReadingPdf(QWidget* parent, ReadingCore& reading, QString path = {});

}  // namespace lorvane
