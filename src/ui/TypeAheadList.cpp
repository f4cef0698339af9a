#include "TypeAheadList.h"

#include <QApplication>

namespace lorvane {

TypeAheadList::TypeAheadList(QWidget* parent) : QListView(parent) {}

QString TypeAheadList::Folded(const QString& text) {
    QString out;
    for (QChar ch : text.normalized(QString::NormalizationForm_D)) {
        if (ch.category() == QChar::Mark_NonSpacing) continue;
        if (ch == u'œ' || ch == u'Œ')
            out += QStringLiteral("oe");
        else if (ch == u'æ' || ch == u'Æ')
            out += QStringLiteral("ae");
        else
            out += ch.toCaseFolded();
    }
    return out;
}

void TypeAheadList::keyboardSearch(const QString& search) {
    if (search.isEmpty() || !model()) return;
    if (!lastKey_.isValid() || lastKey_.elapsed() > QApplication::keyboardInputInterval())
        typed_.clear();
    lastKey_.start();
    const QString key = Folded(search);
    typed_ += key;
    // A new text starts after the current item; a text typed on keeps it
    // when it still fits. The same letter again steps to the next item
    // beginning with it.
    const bool repeated = typed_.size() > 1 && typed_.count(typed_.front()) == typed_.size();
    const QString wanted = repeated ? QString(typed_.front()) : typed_;
    const bool next = repeated || typed_ == key;
    const int rows = model()->rowCount(rootIndex());
    if (rows == 0) return;
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    const int start = next || current < 0 ? current + 1 : current;
    for (int i = 0; i < rows; ++i) {
        const int row = (start + i) % rows;
        const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
        if (!(model()->flags(index) & Qt::ItemIsEnabled)) continue;
        if (Folded(index.data(Qt::DisplayRole).toString()).startsWith(wanted)) {
            setCurrentIndex(index);
            return;
        }
    }
}

}  // namespace lorvane
