#pragma once

// The list of a drop-down box in which typing finds an item whatever its
// accents and capitals: "esaie" finds "Ésaïe", "ecc" "Ecclésiaste". Keys
// typed within the keyboard interval make one text; the same letter typed
// again steps to the next item that begins with it. Serves the closed box
// as well as its open list (the box asks its view to search).

#include <QElapsedTimer>
#include <QListView>

namespace lorvane {

class TypeAheadList : public QListView {
    Q_OBJECT
  public:
    explicit TypeAheadList(QWidget* parent = nullptr);
    void keyboardSearch(const QString& search) override;

    // The text as typing compares it: lower-cased, without accents, œ and
    // æ in two letters.
    static QString Folded(const QString& text);

  private:
    QString typed_;
    QElapsedTimer lastKey_;
};

}  // namespace lorvane
