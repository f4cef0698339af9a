// The main window's side of the reader's Bibles: the "Bible" menu and the
// import that adds one call the shelf's choice (BibleChoice.h).

#include "BibleChoice.h"

#include "Bible.h"
#include "ImportCommand.h"

namespace lorvane {

bool TFBible::ShowBible(std::size_t i) {
    return choice_->Show(i);
}

void TFBible::CompareWith(std::size_t i) {
    choice_->CompareWith(i);
}

void TFBible::StopComparing() {
    choice_->StopComparing();
}

void TFBible::NextBibleClick() {
    choice_->ShowNext();
}

void TFBible::ManageBiblesClick() {
    choice_->Manage();
}

bool TFBible::RenameBible(std::size_t i, const QString& name, const QString& abbreviation) {
    return choice_->Rename(i, name, abbreviation);
}

bool TFBible::RemoveBible(std::size_t i) {
    return choice_->Remove(i);
}

void TFBible::TellShelfProblems() {
    choice_->TellProblems();
}

QString TFBible::BibleAbbreviation() const {
    return choice_->Abbreviation();
}

void TFBible::ImporterBible1Click() {
    const QString file = AskBibleFile(this);
    if (!file.isEmpty()) ImportBibleFromFile(file);
}

bool TFBible::ImportBibleFromFile(const QString& file) {
    return ImportBibleFile(
        this, communs_, shelf_->StagingDir(), file,
        [this](Communs&& tables, const std::string& name, const std::string& abbreviation) {
            return choice_->Adopt(std::move(tables), name, abbreviation);
        });
}

}  // namespace lorvane
