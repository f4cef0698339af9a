#include "Bible.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <iostream>

#include "BackupPromptsQt.h"
#include "FctLoad.h"
#include "Splash.h"
#include "Version.h"

namespace lorvane {

TFBible::TFBible(Communs& communs, QWidget* parent) : QMainWindow(parent), communs_(communs) {
    setObjectName("FBible");
    FormCreate();
}

TFBible::~TFBible() = default;

QString TFBible::Title() {
    return QStringLiteral("Lorvane  ") + QString::fromLatin1(kFileVersion).left(5);
}

void TFBible::FormCreate() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setWindowTitle(Title());
    resize(686, 552);

    loaded_ = LoadData();
    if (loaded_) {
        // The reading area and the module panel come in here.
        auto* frame = new QLabel(this);
        frame->setAlignment(Qt::AlignCenter);
        setCentralWidget(frame);
        QMenu* help = menuBar()->addMenu(QStringLiteral("?"));
        help->addAction(QStringLiteral("A propos..."), this, &TFBible::Apropos1Click);
    }
    QApplication::restoreOverrideCursor();
}

bool TFBible::LoadData() {
    try {
        BackupPromptsQt prompts;
        LoadDataFolder(communs_, &prompts);
        CurrentBook = CurrentChapter = CurrentVerse = 1;
        return true;
    } catch (const std::exception& e) {
        std::cerr << "lorvane: " << e.what() << std::endl;
    } catch (...) {
        std::cerr << "lorvane: unknown failure while loading the data" << std::endl;
    }
    ShowLoadFailure();
    return false;
}

void ShowLoadFailure() {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Erreur"),
                    QString::fromUtf8("Erreur de chargement, veuillez ré-installer l'application"),
                    QMessageBox::Ok);
    box.setObjectName("LoadFailureBox");
    box.exec();
}

void TFBible::Apropos1Click() {
    TFSplash about(this);
    about.exec();
}

}  // namespace lorvane
