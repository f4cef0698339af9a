#pragma once

// The "Signets" pane: the reader's signets by reference, each with its name
// and the first words of its verse. A click or Enter opens one, F2 or
// "Renommer" renames it, Suppr or "Supprimer" removes it. The signets are
// kept in UserDataFolder()/signets.txt, written again at every change.

#include <QString>
#include <QWidget>
#include <vector>

#include "Communs.h"
#include "ReadingCore.h"
#include "Signets.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lorvane {

class SignetsPane : public QWidget, public ReadingObserver {
    Q_OBJECT
  public:
    // Reads the file (a missing one is an empty list; unreadable lines are
    // left out with one line on standard error).
    explicit SignetsPane(QWidget* parent = nullptr);

    // The Bible whose names and verses the list shows; again after an import.
    void SetBible(const Communs& communs);
    // The pane follows the reading's Bible.
    void Follow(ReadingCore& reading);
    void TablesChanged() override;

    // Adds a signet on a verse, named by its reference, and selects it.
    void Add(int book, int chapter, int verse);
    void RemoveCurrent();
    void RenameCurrent();

    const std::vector<Signet>& Signets() const { return signets_; }
    QTreeWidget* List() const { return list_; }

    // The file the signets are kept in.
    static QString FilePath();

  signals:
    void Open(int book, int chapter, int verse);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Fill(int select);
    void Save();
    void OpenItem(QTreeWidgetItem* item);

    const Communs* communs_ = nullptr;
    std::vector<Signet> signets_;
    QTreeWidget* list_;
    QPushButton* rename_;
    QPushButton* remove_;
    bool filling_ = false;
};

}  // namespace lorvane
