#include "ImportCommand.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QThread>
#include <atomic>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>

#include "Import.h"
#include "QtPath.h"

namespace lorvane {
namespace {

const QString kTitle = QStringLiteral("Importer une Bible");

void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                 const QString& more = {}) {
    QMessageBox box(icon, kTitle, text, QMessageBox::Ok, parent);
    box.setInformativeText(more);
    // Wide enough for its title and a summary on one line.
    box.setStyleSheet(QStringLiteral("QLabel#qt_msgbox_label { min-width: 300px; }"));
    box.setObjectName("ImportMessageBox");
    box.setAccessibleName(kTitle);
    box.exec();
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
    QFileDialog dialog(parent, kTitle, start,
                       QStringLiteral("Bibles USFM (*.zip *.usfm *.sfm *.SFM)"));
    dialog.setObjectName("ImportFileDialog");
    dialog.setAccessibleName(kTitle);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

bool ImportBibleFile(QWidget* parent, const Communs& folders, const QString& source,
                     const TakeImportedTables& take) {
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

    QPointer<QProgressDialog> label(&progress);
    importer::ImportSteps steps;
    steps.cancelled = [cancelled] { return cancelled->load(); };
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
    QThread* worker = QThread::create(
        [&outcome, &steps, appDir = folders.AppDir, bibleDir = folders.BibleDir, path] {
            try {
                outcome.result.emplace(importer::ImportBible(appDir, bibleDir, path, steps));
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
    const QString summary =
        QString::fromStdString(importer::ImportSummary(result.books, result.missing));
    take(std::move(result.tables));
    result.report.Print(std::cerr);
    QString more = QString::fromStdString(importer::ImportRemarks(result.report));
    if (!more.isEmpty()) more += "\n";
    more += QString::fromUtf8("Lorvane s'ouvrira désormais sur cette Bible.");
    ShowMessage(parent, QMessageBox::Information, summary, more);
    return true;
}

bool RunImportCommand(QWidget* parent, const Communs& folders, const TakeImportedTables& take) {
    const QString file = AskBibleFile(parent);
    if (file.isEmpty()) return false;
    return ImportBibleFile(parent, folders, file, take);
}

}  // namespace lorvane
