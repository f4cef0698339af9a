#pragma once

// The reader's side of the kept Bibles: the "Bible" menu and the "Gérer les
// Bibles..." dialog. The main window says what each command does.

#include <QDialog>
#include <cstddef>
#include <functional>
#include <vector>

#include "BibleShelf.h"
#include "CompareSet.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace lorvane::bibles {

// A Bible as its menu entries and lists show it: « Louis Segond 1910 (LSG) ».
QString ShownName(const KeptBible& bible);

struct BibleMenuCommands {
    std::function<void(std::size_t)> show;     // show Bible i
    std::function<void(std::size_t)> compare;  // add Bible i to the comparison, or take it out
    std::function<void()> stopComparing;
    std::function<void()> manage;
};

// Fills `menu` again: each Bible (the current one checked; &1 to &9 for
// the first nine), "Comparer avec" with the others (checked when compared;
// none more once four are side by side), "Ne plus comparer", `next` (the
// action that shows the next Bible, Ctrl+Maj+B), "Gérer les Bibles...".
void FillBibleMenu(QMenu* menu, const BibleShelf& shelf, const std::vector<std::size_t>& compared,
                   QAction* next, const BibleMenuCommands& commands);

// "Gérer les Bibles...": the Bibles with their name, abbreviation, number
// of books and date of import; under them the licence of the one chosen,
// when it has one; "Renommer...", "Supprimer" (asked first, never the last
// Bible; one that came with the program is only hidden), "Réafficher les
// Bibles livrées" (when one is hidden), "Fermer". The main window does each
// change.
// The commentaries kept beside the Bibles, listed after them in the
// dialog, each marked « (commentaire) »; renamed and removed (with no last
// one to keep) by the same buttons. Empty: none listed.
struct CommentaryRows {
    std::function<std::vector<KeptBible>()> list;  // name and abbreviation of each
    std::function<bool(std::size_t, const QString& name, const QString& abbreviation)> rename;
    std::function<bool(std::size_t)> remove;
};

class ManageBiblesDialog : public QDialog {
    Q_OBJECT
  public:
    struct Commands {
        // Each returns false when nothing changed (the reader was told why).
        std::function<bool(std::size_t, const QString& name, const QString& abbreviation)> rename;
        std::function<bool(std::size_t)> remove;
        std::function<bool()> showHidden;
        CommentaryRows commentaries;
    };
    ManageBiblesDialog(const BibleShelf& shelf, Commands commands, QWidget* parent = nullptr);

    QTreeWidget* List = nullptr;
    QPushButton* BtnRenommer = nullptr;
    QPushButton* BtnSupprimer = nullptr;
    QPushButton* BtnReafficher = nullptr;
    // The licence of the Bible chosen, shown when it has one.
    QLabel* LicenceLabel = nullptr;
    QPlainTextEdit* Licence = nullptr;

    void Fill();
    void RenameClick();
    void RemoveClick();
    void ShowHiddenClick();

  private:
    void UpdateButtons();
    const BibleShelf& shelf_;
    Commands commands_;
    std::vector<KeptBible> commentaries_;  // as listed
    std::vector<QString> licences_;        // of each Bible listed, "" for none
};

// The rename box: "Nom" and "Sigle" fields, filled with the Bible's; false
// when the reader cancelled.
bool AskBibleName(QWidget* parent, const KeptBible& bible, QString& name, QString& abbreviation);

}  // namespace lorvane::bibles
