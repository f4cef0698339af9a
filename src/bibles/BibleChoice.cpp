#include "BibleChoice.h"

#include <QDate>
#include <QMenu>
#include <QMessageBox>
#include <algorithm>
#include <iostream>
#include <optional>

#include "BiblesFace.h"
#include "ErrorDisplay.h"
#include "FctLoad.h"

namespace lorvane::bibles {
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
bool LoadBible(QWidget* parent, const BibleShelf& shelf, std::size_t i, Communs& tables) {
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
ComparedBible Column(const BibleShelf& shelf, std::size_t i,
                     std::shared_ptr<const Communs> tables) {
    return {shelf.At(i).abbreviation, shelf.At(i).name, std::move(tables)};
}

}  // namespace

BibleChoice::BibleChoice(BibleShelf& shelf, ReadingCore& reading, QWidget* window)
    : shelf_(shelf), reading_(reading), window_(window) {}

std::vector<std::size_t> BibleChoice::Compared() const {
    std::vector<std::size_t> compared;
    for (const ComparedBible& b : reading_.Comparison().Others())
        if (const auto i = shelf_.Find(b.tables->BibleDir)) compared.push_back(*i);
    return compared;
}

void BibleChoice::CompareWith(std::size_t i) {
    if (i >= shelf_.Count() || i == shelf_.Current()) return;
    const std::string current = shelf_.At(shelf_.Current()).abbreviation;
    std::vector<ComparedBible> others = reading_.Comparison().Others();
    const std::string dir = shelf_.DirOf(i);
    const auto before = others.size();
    std::erase_if(others, [&](const ComparedBible& b) { return b.tables->BibleDir == dir; });
    if (others.size() == before) {
        if (reading_.Comparison().Full()) return;
        const Communs& read = reading_.Tables();
        auto tables = std::make_shared<Communs>(read.AppDir, dir);
        if (!LoadBible(window_, shelf_, i, *tables)) return;
        tables->TextSize = read.TextSize;
        others.push_back(Column(shelf_, i, std::move(tables)));
    }
    reading_.SetComparison(current, std::move(others));
}

std::vector<std::string> BibleChoice::ComparedFolders() const {
    std::vector<std::string> folders;
    for (const std::size_t i : Compared())
        folders.push_back(shelf_.At(i).folder);
    return folders;
}

void BibleChoice::CompareAgain(const std::vector<std::string>& folders) {
    const Communs& read = reading_.Tables();
    std::vector<ComparedBible> others;
    for (const std::string& folder : folders) {
        std::optional<std::size_t> i;
        for (std::size_t k = 0; k < shelf_.Count() && !i; ++k)
            if (shelf_.At(k).folder == folder) i = k;
        // A Bible gone from the shelf, the one read or one there already is
        // left out; so is one that does not load, said on standard error only.
        if (!i || shelf_.Find(read.BibleDir) == *i ||
            std::any_of(others.begin(), others.end(), [&](const ComparedBible& b) {
                return b.tables->BibleDir == shelf_.DirOf(*i);
            }))
            continue;
        auto tables = std::make_shared<Communs>(read.AppDir, shelf_.DirOf(*i));
        try {
            LoadAllTables(*tables);
        } catch (const std::exception& e) {
            std::cerr << "lorvane: a Bible compared last time is left out: " << e.what()
                      << std::endl;
            continue;
        }
        tables->TextSize = read.TextSize;
        others.push_back(Column(shelf_, *i, std::move(tables)));
    }
    if (others.empty()) return;
    const auto shown = shelf_.Find(read.BibleDir);
    reading_.SetComparison(
        shown ? shelf_.At(*shown).abbreviation : std::string(kDefaultAbbreviation),
        std::move(others));
}

void BibleChoice::StopComparing() {
    if (reading_.Comparison().Active())
        reading_.SetComparison(reading_.Comparison().CurrentAbbreviation(), {});
}

void BibleChoice::FillMenu(QMenu* menu, QAction* next) {
    BibleMenuCommands commands;
    commands.show = [this](std::size_t i) { Guarded([&] { Show(i); }); };
    commands.compare = [this](std::size_t i) { Guarded([&] { CompareWith(i); }); };
    commands.stopComparing = [this] { Guarded([&] { StopComparing(); }); };
    commands.manage = [this] { Guarded([&] { Manage(); }); };
    FillBibleMenu(menu, shelf_, Compared(), next, commands);
}

bool BibleChoice::Show(std::size_t i) {
    if (i >= shelf_.Count()) return false;
    const Communs& read = reading_.Tables();
    if (i == shelf_.Current() && shelf_.Find(read.BibleDir) == i) return true;
    Communs fresh(read.AppDir, shelf_.DirOf(i));
    if (!LoadBible(window_, shelf_, i, fresh)) return false;
    const std::string former = NameRead();
    try {
        shelf_.Choose(i);
    } catch (const std::exception& e) {
        // Shown all the same; only the next start will not know it.
        std::cerr << "lorvane: the choice of Bible is not kept: " << e.what() << std::endl;
    }
    // The columns beside it stay, with the Bible read before in place of
    // the one now shown.
    reading_.ReplaceTables(std::move(fresh), shelf_.At(i).abbreviation, former);
    return true;
}

void BibleChoice::ShowNext() {
    if (shelf_.Count() > 1) Show(shelf_.Next());
}

QString BibleChoice::Adopt(Communs&& tables, const std::string& name,
                           const std::string& abbreviation) {
    const std::string former = NameRead();
    const auto added = shelf_.Adopt(tables.BibleDir, name, abbreviation,
                                    QDate::currentDate().toString(Qt::ISODate).toStdString());
    if (!added.added)
        return QStringLiteral("Cette Bible est déjà dans Lorvane : « %1 ». Rien n'a changé.")
            .arg(Utf8(shelf_.At(added.index).name));
    tables.BibleDir = shelf_.DirOf(added.index);
    // Any columns beside it stay, now beside the new Bible, and the Bible
    // read before joins them. A tab on a book it lacks shows its first.
    reading_.ReplaceTables(std::move(tables), shelf_.At(added.index).abbreviation, former,
                           ReadingCore::MissingBook::FirstBook);
    return {};
}

void BibleChoice::Manage() {
    ManageBiblesDialog::Commands commands;
    commands.rename = [this](std::size_t i, const QString& name, const QString& abbreviation) {
        return Rename(i, name, abbreviation);
    };
    commands.remove = [this](std::size_t i) { return Remove(i); };
    commands.showHidden = [this] { return ShowHidden(); };
    commands.commentaries = commentaries_;
    ManageBiblesDialog dialog(shelf_, commands, window_);
    dialog.exec();
}

bool BibleChoice::Rename(std::size_t i, const QString& name, const QString& abbreviation) {
    try {
        shelf_.Rename(i, name.toStdString(), abbreviation.toStdString());
    } catch (const std::exception& e) {
        Tell(window_, QMessageBox::Warning, QString::fromUtf8(e.what()));
        return false;
    }
    // The columns show the new names at once.
    if (reading_.Comparison().Active()) {
        std::vector<ComparedBible> others = reading_.Comparison().Others();
        for (ComparedBible& b : others)
            if (const auto k = shelf_.Find(b.tables->BibleDir)) b = Column(shelf_, *k, b.tables);
        reading_.SetComparison(shelf_.At(shelf_.Current()).abbreviation, std::move(others));
    }
    return true;
}

bool BibleChoice::Remove(std::size_t i) {
    if (i >= shelf_.Count() || shelf_.Count() < 2) return false;
    // The Bible shown gives way to another first, so that the page never
    // shows a Bible whose folder is gone.
    if (i == shelf_.Current() && !Show(i == 0 ? 1 : 0)) return false;
    // Nor a column.
    const std::string dir = shelf_.DirOf(i);
    std::vector<ComparedBible> others = reading_.Comparison().Others();
    if (std::erase_if(others, [&](const ComparedBible& b) { return b.tables->BibleDir == dir; }))
        reading_.SetComparison(reading_.Comparison().CurrentAbbreviation(), std::move(others));
    try {
        shelf_.Remove(i);
    } catch (const std::exception& e) {
        Tell(window_, QMessageBox::Warning, QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

bool BibleChoice::ShowHidden() {
    try {
        shelf_.ShowHidden();
    } catch (const std::exception& e) {
        Tell(window_, QMessageBox::Warning, QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

void BibleChoice::TellProblems() {
    QStringList lines;
    for (const std::string& problem : shelf_.Problems())
        lines << Utf8(problem);
    if (!lines.isEmpty()) Tell(window_, QMessageBox::Warning, lines.join('\n'));
}

QString BibleChoice::Abbreviation() const {
    // The reader's own abbreviation for it, once renamed; else what its
    // data/ says, none for a Bible that says none.
    const std::string& dir = reading_.Tables().BibleDir;
    const auto shown = shelf_.Find(dir);
    const std::string abbreviation = shown ? shelf_.At(*shown).abbreviation
                                           : ReadNameFile(dir, kAbbreviationFile, kMaxAbbreviation);
    if (abbreviation == kDefaultAbbreviation) return {};
    return QString::fromStdString(abbreviation);
}

QString BibleChoice::Name() const {
    return QString::fromStdString(NameRead());
}

std::string BibleChoice::NameRead() const {
    const std::string& dir = reading_.Tables().BibleDir;
    const auto shown = shelf_.Find(dir);
    std::string name = shown ? shelf_.At(*shown).name : ReadNameFile(dir, kNameFile, kMaxName);
    if (name.empty()) name = kDefaultName;
    return name;
}

}  // namespace lorvane::bibles
