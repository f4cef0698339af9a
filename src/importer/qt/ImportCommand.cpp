#include "ImportCommand.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QThread>
#include <atomic>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>

#include "Import.h"
#include "QtPath.h"
#include "ScratchFolder.h"

namespace lorvane {
namespace {

const QString kTitle = QStringLiteral("Importer une Bible");

// A path has no space to wrap at: a break is allowed after each "/" (a
// zero-width space, which nothing shows or reads aloud).
QString Breakable(QString text) {
    return text.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
}

// The summary and its remarks go in one text, a blank line between them:
// the box wraps its one text within the screen and sizes itself to it,
// where a separate informative text would leave a long first line cut.
void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                 const QString& more = {}) {
    const QString whole = more.isEmpty() ? text : text + QStringLiteral("\n\n") + more;
    QMessageBox box(icon, kTitle, Breakable(whole), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.setObjectName("ImportMessageBox");
    box.setAccessibleName(kTitle);
    box.exec();
}

// The reader's cache folder, where an import does its scratch work:
// ~/.cache/lorvane ($XDG_CACHE_HOME/lorvane), whatever the application's name.
std::string ScratchParent() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.cache");
    return PathFromQt(base + QStringLiteral("/lorvane"));
}

// What the worker hands back to the GUI thread.
struct Outcome {
    std::optional<importer::ImportResult> result;
    std::exception_ptr error;
};

}  // namespace

QString AskBibleFile(QWidget* parent) {
    QString start = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (start.isEmpty() || !QDir(start).exists()) start = QDir::homePath();
    QFileDialog dialog(parent, kTitle, start);
    dialog.setNameFilters({QStringLiteral("Bibles (*.zip *.usfm *.sfm *.xml *.osis *.conf)"),
                           QStringLiteral("Tous les fichiers (*)")});
    dialog.setObjectName("ImportFileDialog");
    dialog.setAccessibleName(kTitle);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

bool ImportBibleFile(QWidget* parent, const Communs& folders, const std::string& staging,
                     const QString& source, const TakeImportedTables& take,
                     const TakeImportedCommentary& takeCommentary) {
    QProgressDialog progress(QString::fromUtf8("Lecture de la Bible..."), QStringLiteral("Annuler"),
                             0, 0, parent);
    progress.setObjectName("ImportProgressDialog");
    progress.setWindowTitle(kTitle);
    progress.setAccessibleName(kTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setMinimumWidth(360);  // room for the title and "Lecture de 2 Thessaloniciens..."
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    if (auto* cancel = progress.findChild<QPushButton*>()) cancel->setAccessibleName("Annuler");

    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    QObject::connect(&progress, &QProgressDialog::canceled, [cancelled] { *cancelled = true; });
    // Escape reaches the dialog itself when its window is not yet the active
    // one (its shortcut then waits): the dialog rejects, which cancels too.
    QObject::connect(&progress, &QDialog::rejected, [cancelled] { *cancelled = true; });

    QPointer<QProgressDialog> label(&progress);
    importer::ImportSteps steps;
    steps.cancelled = [cancelled] { return cancelled->load(); };
    steps.scratch = ScratchParent();
    steps.reading = [label](const std::string& book) {
        const QString text =
            QString::fromUtf8("Lecture de %1...").arg(QString::fromStdString(book));
        QMetaObject::invokeMethod(
            qApp,
            [label, text] {
                if (label && !label->wasCanceled()) label->setLabelText(text);
            },
            Qt::QueuedConnection);
    };

    Outcome outcome;
    const std::string path = PathFromQt(source);
    QThread* worker =
        QThread::create([&outcome, &steps, staging, bibleDir = folders.BibleDir, path] {
            try {
                outcome.result.emplace(importer::ImportNewBible(staging, bibleDir, path, steps));
            } catch (...) {
                outcome.error = std::current_exception();
            }
        });
    QEventLoop loop;
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    progress.show();
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    // "Annuler" pressed as the reading ended still counts: nothing is kept
    // until the tables are handed over.
    QCoreApplication::processEvents();
    if (*cancelled && outcome.result) {
        std::error_code ec;
        std::filesystem::remove_all(staging, ec);
        return false;
    }
    progress.close();

    if (outcome.error) {
        try {
            std::rethrow_exception(outcome.error);
        } catch (const importer::ImportCancelled&) {
            return false;
        } catch (const importer::ImportError& e) {
            ShowMessage(parent, QMessageBox::Warning, QString::fromUtf8(e.what()));
        } catch (const std::exception& e) {
            ShowMessage(parent, QMessageBox::Warning,
                        QString::fromUtf8("L'importation a échoué : %1")
                            .arg(QString::fromLocal8Bit(e.what())));
        }
        return false;
    }
    importer::ImportResult& result = *outcome.result;
    if (result.commentary) {
        try {
            if (!takeCommentary)
                throw std::runtime_error("Ce module SWORD est un commentaire, pas une Bible.");
            takeCommentary(staging, result.name, result.abbreviation);
        } catch (const std::exception& e) {
            std::error_code ec;
            std::filesystem::remove_all(staging, ec);
            ShowMessage(parent, QMessageBox::Warning, QString::fromUtf8(e.what()));
            return false;
        }
        QString more = QString::fromStdString(result.name + " (" + result.abbreviation + ").");
        const std::string leftOut = importer::LeftOutEntriesText(result.leftOut);
        if (!leftOut.empty()) more += "\n" + QString::fromStdString(leftOut);
        more += QString::fromUtf8("\nIl s'affiche dans le volet « Commentaire ».");
        ShowMessage(parent, QMessageBox::Information,
                    QString::fromStdString(importer::CommentaryHeadline(result)), more);
        return true;
    }
    const QString summary = QString::fromStdString(importer::ImportHeadline(result));
    const QString numbering =
        QString::fromUtf8("Numérotation des versets : %1.")
            .arg(QString::fromStdString(NumberingLabel(*result.tables.VerseNumbering)));
    QString instead;
    try {
        instead = take(std::move(result.tables), result.name, result.abbreviation);
    } catch (const std::exception& e) {
        std::error_code ec;
        std::filesystem::remove_all(staging, ec);
        ShowMessage(parent, QMessageBox::Warning, QString::fromUtf8(e.what()));
        return false;
    }
    if (!instead.isEmpty()) {
        ShowMessage(parent, QMessageBox::Information, instead);
        return false;
    }
    result.report.Print(std::cerr);
    QString more = QString::fromStdString(importer::ImportRemarks(result.report));
    if (!result.name.empty()) {
        // The Bible's own name, as its source gives it: « Bible Martin (MAR). »
        QString name = QString::fromStdString(result.name);
        if (!result.abbreviation.empty())
            name += QStringLiteral(" (%1)").arg(QString::fromStdString(result.abbreviation));
        more = name + QStringLiteral(".") + (more.isEmpty() ? "" : "\n") + more;
    }
    more += (more.isEmpty() ? "" : "\n") + numbering;
    const QString shortBooks = QString::fromStdString(importer::ShortBooksText(result.shortBooks));
    if (!shortBooks.isEmpty()) more += (more.isEmpty() ? "" : "\n") + shortBooks;
    if (!more.isEmpty()) more += "\n";
    more += QString::fromUtf8("Lorvane s'ouvrira désormais sur cette Bible.");
    ShowMessage(parent, QMessageBox::Information, summary, more);
    return true;
}

void ClearImportLeftovers(const std::string& appDir) {
    importer::RemoveImportLeftovers(appDir);
    importer::RemoveDeadScratchFolders(ScratchParent());
}

bool RunImportCommand(QWidget* parent, const Communs& folders, const std::string& staging,
                      const TakeImportedTables& take) {
    const QString file = AskBibleFile(parent);
    if (file.isEmpty()) return false;
    return ImportBibleFile(parent, folders, staging, file, take);
}

}  // namespace lorvane
