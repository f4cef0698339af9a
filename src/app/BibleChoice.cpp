// The main window's side of the reader's Bibles: the "Bible" menu, the
// switch from one Bible to another, the import that adds one, the dialog
// that renames and removes them.

#include <unistd.h>

#include <QAction>
#include <QDate>
#include <QMenu>
#include <QMessageBox>
#include <filesystem>
#include <iostream>

#include "Bible.h"
#include "BiblesFace.h"
#include "ErrorDisplay.h"
#include "FctLoad.h"
#include "ImportCommand.h"

namespace lorvane {
namespace fs = std::filesystem;

namespace {

void Tell(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QStringLiteral("Lorvane"), text, QMessageBox::Ok, parent);
    box.setObjectName("BibleMessageBox");
    box.exec();
}

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

// Loads the tables of Bible i of the shelf; false, after telling the reader,
// when they do not load.
bool LoadBible(QWidget* parent, const bibles::BibleShelf& shelf, std::size_t i, Communs& tables) {
    try {
        LoadAllTables(tables);
        return true;
    } catch (const std::exception& e) {
        std::cerr << "lorvane: " << e.what() << std::endl;
        Tell(parent, QMessageBox::Warning,
             QStringLiteral("La Bible « %1 » ne se charge pas : ses fichiers sont endommagés.")
                 .arg(Utf8(shelf.At(i).name)));
        return false;
    }
}

// Bible i of the shelf as a column of the comparison.
ComparedBible Column(const bibles::BibleShelf& shelf, std::size_t i,
                     std::shared_ptr<const Communs> tables) {
    return {shelf.At(i).abbreviation, shelf.At(i).name, std::move(tables)};
}

}  // namespace

std::vector<std::size_t> TFBible::ComparedBibles() const {
    std::vector<std::size_t> compared;
    for (const ComparedBible& b : comparison_)
        if (const auto i = shelf_->Find(b.tables->BibleDir)) compared.push_back(*i);
    return compared;
}

void TFBible::CompareWith(std::size_t i) {
    bibles::BibleShelf& shelf = *shelf_;
    if (i >= shelf.Count() || i == shelf.Current()) return;
    const std::string current = shelf.At(shelf.Current()).abbreviation;
    std::vector<ComparedBible> others = comparison_;
    const std::string dir = shelf.DirOf(i);
    const auto before = others.size();
    std::erase_if(others, [&](const ComparedBible& b) { return b.tables->BibleDir == dir; });
    if (others.size() == before) {
        if (others.size() + 1 >= bibles::kMaxCompared) return;
        auto tables = std::make_shared<Communs>(communs_.AppDir, dir);
        if (!LoadBible(this, shelf, i, *tables)) return;
        tables->TextSize = communs_.TextSize;
        others.push_back(Column(shelf, i, std::move(tables)));
    }
    SetComparison(current, std::move(others));
}

void TFBible::StopComparing() {
    if (!comparison_.empty()) SetComparison(currentAbbreviation_, {});
}

void TFBible::FillBibleMenu() {
    bibles::BibleMenuCommands commands;
    commands.show = [this](std::size_t i) { Guarded([&] { ShowBible(i); }); };
    commands.compare = [this](std::size_t i) { Guarded([&] { CompareWith(i); }); };
    commands.stopComparing = [this] { Guarded([&] { StopComparing(); }); };
    commands.manage = [this] { Guarded([&] { ManageBiblesClick(); }); };
    bibles::FillBibleMenu(MenuBible, *shelf_, ComparedBibles(), ActionBibleSuivante, commands);
}

bool TFBible::ShowBible(std::size_t i) {
    bibles::BibleShelf& shelf = *shelf_;
    if (i >= shelf.Count()) return false;
    if (i == shelf.Current() && shelf.Find(communs_.BibleDir) == i) return true;
    Communs fresh(communs_.AppDir, shelf.DirOf(i));
    if (!LoadBible(this, shelf, i, fresh)) return false;
    try {
        shelf.Choose(i);
    } catch (const std::exception& e) {
        // Shown all the same; only the next start will not know it.
        std::cerr << "lorvane: the choice of Bible is not kept: " << e.what() << std::endl;
    }
    // The columns beside it stay, but for the Bible now shown.
    const std::string dir = shelf.DirOf(i);
    std::erase_if(comparison_, [&](const ComparedBible& b) { return b.tables->BibleDir == dir; });
    currentAbbreviation_ = shelf.At(i).abbreviation;
    // The verse at the top of the page comes back at the top in the other
    // Bible.
    pendingScroll_ = -1;
    pendingTop_ = VerseAt(QPoint());
    TakeImportedTables(std::move(fresh));
    return true;
}

void TFBible::NextBibleClick() {
    if (shelf_->Count() > 1) ShowBible(shelf_->Next());
}

void TFBible::ImporterBible1Click() {
    const QString file = AskBibleFile(this);
    if (!file.isEmpty()) ImportBibleFromFile(file);
}

bool TFBible::ImportBibleFromFile(const QString& file) {
    const std::string staging = shelf_->StagingDir();
    return ImportBibleFile(
        this, communs_, staging, file,
        [this](Communs&& tables, const std::string& name,
               const std::string& abbreviation) -> QString {
            const auto added =
                shelf_->Adopt(tables.BibleDir, name, abbreviation,
                              QDate::currentDate().toString(Qt::ISODate).toStdString());
            if (!added.added)
                return QStringLiteral(
                           "Cette Bible est déjà dans Lorvane : « %1 ». Rien n'a changé.")
                    .arg(Utf8(shelf_->At(added.index).name));
            tables.BibleDir = shelf_->DirOf(added.index);
            // Any columns beside it stay, now beside the new Bible.
            currentAbbreviation_ = shelf_->At(added.index).abbreviation;
            TakeImportedTables(std::move(tables));
            return {};
        });
}

void TFBible::ManageBiblesClick() {
    bibles::ManageBiblesDialog::Commands commands;
    commands.rename = [this](std::size_t i, const QString& name, const QString& abbreviation) {
        return RenameBible(i, name, abbreviation);
    };
    commands.remove = [this](std::size_t i) { return RemoveBible(i); };
    bibles::ManageBiblesDialog dialog(*shelf_, commands, this);
    dialog.exec();
}

bool TFBible::RenameBible(std::size_t i, const QString& name, const QString& abbreviation) {
    try {
        shelf_->Rename(i, name.toStdString(), abbreviation.toStdString());
    } catch (const std::exception& e) {
        Tell(this, QMessageBox::Warning, QString::fromUtf8(e.what()));
        return false;
    }
    // The columns show the new names at once.
    if (!comparison_.empty()) {
        std::vector<ComparedBible> others = comparison_;
        for (ComparedBible& b : others)
            if (const auto k = shelf_->Find(b.tables->BibleDir)) b = Column(*shelf_, *k, b.tables);
        SetComparison(shelf_->At(shelf_->Current()).abbreviation, std::move(others));
    }
    return true;
}

bool TFBible::RemoveBible(std::size_t i) {
    bibles::BibleShelf& shelf = *shelf_;
    if (i >= shelf.Count() || shelf.Count() < 2) return false;
    // The Bible shown gives way to another first, so that the page never
    // shows a Bible whose folder is gone.
    if (i == shelf.Current()) {
        std::size_t other = i == 0 ? 1 : 0;
        if (!ShowBible(other)) return false;
    }
    // Nor a column.
    const std::string dir = shelf.DirOf(i);
    std::vector<ComparedBible> others = comparison_;
    if (std::erase_if(others, [&](const ComparedBible& b) { return b.tables->BibleDir == dir; }))
        SetComparison(currentAbbreviation_, std::move(others));
    try {
        shelf.Remove(i);
    } catch (const std::exception& e) {
        Tell(this, QMessageBox::Warning, QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

void TFBible::TellShelfProblems() {
    QStringList lines;
    for (const std::string& problem : shelf_->Problems())
        lines << Utf8(problem);
    if (!lines.isEmpty()) Tell(this, QMessageBox::Warning, lines.join('\n'));
}

}  // namespace lorvane
