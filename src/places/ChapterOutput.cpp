#include "ChapterOutput.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <optional>

#include "Comparison.h"
#include "PageText.h"
#include "QtPath.h"
#include "QtText.h"
#include "ReadingCore.h"

namespace lorvane {

std::unique_ptr<QTextDocument> ChapterDocument(const QString& pageHtml, const QString& title) {
    auto doc = std::make_unique<QTextDocument>();
    QFont base;
    base.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("serif")});
    base.setPointSize(12);
    doc->setDefaultFont(base);
    doc->setHtml(pageHtml);
    // The cross-references stay as text, without their underlining.
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.charFormat().anchorHref().isEmpty()) continue;
            QTextCursor c(doc.get());
            c.setPosition(f.position());
            c.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
            QTextCharFormat plain;
            plain.setFontUnderline(false);
            plain.setForeground(QColor(0x40, 0x40, 0x40));
            c.mergeCharFormat(plain);
        }
    }
    QTextCursor top(doc.get());
    top.movePosition(QTextCursor::Start);
    top.insertBlock();
    top.movePosition(QTextCursor::Start);
    QTextCharFormat heading;
    heading.setFontPointSize(18);
    heading.setFontWeight(QFont::Bold);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setBottomMargin(12);
    top.setBlockFormat(centred);
    top.insertText(title, heading);
    return doc;
}

bool WriteChapterPdf(const QString& path, const QString& pageHtml, const QString& title,
                     QString* error) {
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly)) {
            if (error)
                *error = QStringLiteral("Impossible d'enregistrer le fichier « %1 ».").arg(path);
            return false;
        }
    }
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Lorvane"));
    std::unique_ptr<QTextDocument> doc = ChapterDocument(pageHtml, title);
    doc->print(&writer);
    return true;
}

void PrintChapter(QWidget* parent, const QString& pageHtml, const QString& title) {
    QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (!printers.isEmpty()) target = printers.first();
    }
    if (target.isNull()) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Lorvane"),
                        QStringLiteral("Aucune imprimante n'est installée."), QMessageBox::Ok,
                        parent);
        box.setObjectName("NoPrinterBox");
        box.exec();
        return;
    }
    QPrinter printer(target, QPrinter::HighResolution);
    printer.setDocName(title);
    ChapterDocument(pageHtml, title)->print(&printer);
}

namespace {

QString ChapterTitle(const ReadingCore& reading) {
    const Place& here = reading.Here();
    return FromUtf8(reading.Tables().Book(here.book).Name.str()) + QLatin1Char(' ') +
           QString::number(here.chapter);
}

// The page of the chapter read, written afresh; none when it has no verse.
std::optional<QString> ReadingPage(ReadingCore& reading) {
    const Place& here = reading.Here();
    // Bibles compared: one table whose column heads come again on every
    // page.
    if (reading.Comparison().Active()) {
        const std::vector<ComparedBible> columns = reading.Columns();
        return QString::fromStdString(BuildComparePrintPage(columns, here.book, here.chapter));
    }
    if (!reading.WritePage(ChapterPageRequest{here.book, here.chapter, 1, 0, false, true}))
        return std::nullopt;
    const std::optional<std::string> page = ReadRegularFile(reading.Tables().Path("temp.htm"));
    if (!page) return std::nullopt;
    return DecodePage(*page);
}

}  // namespace

void PrintReading(QWidget* parent, ReadingCore& reading) {
    if (const std::optional<QString> page = ReadingPage(reading))
        PrintChapter(parent, *page, ChapterTitle(reading));
}

void SaveReadingPdf(QWidget* parent, ReadingCore& reading, QString path) {
    const QString title = ChapterTitle(reading);
    if (path.isEmpty()) {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty()) folder = QDir::homePath();
        path =
            QFileDialog::getSaveFileName(parent, QStringLiteral("Enregistrer le chapitre en PDF"),
                                         folder + QLatin1Char('/') + title + QStringLiteral(".pdf"),
                                         QStringLiteral("Documents PDF (*.pdf)"));
        if (path.isEmpty()) return;
    }
    const std::optional<QString> page = ReadingPage(reading);
    if (!page) return;
    QString error;
    if (!WriteChapterPdf(path, *page, title, &error)) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Lorvane"), error, QMessageBox::Ok,
                        parent);
        box.setObjectName("PdfFailureBox");
        box.exec();
    }
}

}  // namespace lorvane
