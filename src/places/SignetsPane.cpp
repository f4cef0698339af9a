#include "SignetsPane.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <iostream>

#include "Accessible.h"
#include "QtText.h"
#include "Quote.h"
#include "UserFiles.h"

namespace lorvane {
namespace {

// The first words of a verse, about fifty letters.
QString FirstWords(const Communs& c, const Signet& s) {
    return ShortenAtWord(FromUtf8(VersesText(c, s.book, s.chapter, s.verse, 0)), 50);
}

}  // namespace

QString SignetsPane::FilePath() {
    return UserDataFolder() + QStringLiteral("/signets.txt");
}

SignetsPane::SignetsPane(QWidget* parent)
    : QWidget(parent),
      list_(new QTreeWidget(this)),
      rename_(new QPushButton(QStringLiteral("&Renommer"), this)),
      remove_(new QPushButton(QStringLiteral("&Supprimer"), this)) {
    setObjectName("PanneauSignets");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    list_->setObjectName("LBSignets");
    list_->setAccessibleName(QStringLiteral("Signets"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Signet"), QStringLiteral("Verset")});
    list_->setRootIsDecorated(false);
    list_->setEditTriggers(QAbstractItemView::EditKeyPressed);
    list_->header()->setStretchLastSection(true);
    list_->installEventFilter(this);
    column->addWidget(list_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 2, 4, 4);
    rename_->setObjectName("BtnRenommerSignet");
    remove_->setObjectName("BtnSupprimerSignet");
    rename_->setToolTip(QStringLiteral("Renommer le signet (F2)"));
    remove_->setToolTip(QStringLiteral("Supprimer le signet (Suppr)"));
    buttons->addWidget(rename_);
    buttons->addWidget(remove_);
    buttons->addStretch(1);
    column->addLayout(buttons);
    connect(rename_, &QPushButton::clicked, this, &SignetsPane::RenameCurrent);
    connect(remove_, &QPushButton::clicked, this, &SignetsPane::RemoveCurrent);
    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { OpenItem(item); });
    connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (filling_ || column != 0) return;
        const int i = list_->indexOfTopLevelItem(item);
        if (i < 0 || i >= static_cast<int>(signets_.size())) return;
        signets_[static_cast<std::size_t>(i)].name = item->text(0).simplified().toStdString();
        Save();
    });

    if (const std::optional<QByteArray> bytes = ReadUserFile(FilePath())) {
        SignetFile file = ReadSignets(
            std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
        if (file.unread > 0)
            std::cerr << "lorvane: " << file.unread << " unreadable line(s) left out of "
                      << QFile::encodeName(FilePath()).constData() << std::endl;
        for (Signet& s : file.signets)
            AddSignet(signets_, std::move(s));
    }
}

void SignetsPane::Follow(ReadingCore& reading) {
    reading.Subscribe(this);
    SetBible(reading.Tables());
}

void SignetsPane::TablesChanged() {
    if (ReadingCore* reading = Followed()) SetBible(reading->Tables());
}

void SignetsPane::SetBible(const Communs& communs) {
    communs_ = &communs;
    Fill(list_->indexOfTopLevelItem(list_->currentItem()));
}

void SignetsPane::Fill(int select) {
    filling_ = true;
    list_->clear();
    for (const Signet& s : signets_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromStdString(s.name));
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        if (communs_) {
            const QString ref = FromUtf8(communs_->FormatRef(s.book, s.chapter, s.verse, 0));
            item->setText(1, ref + QStringLiteral(" — ") + FirstWords(*communs_, s));
        }
    }
    list_->resizeColumnToContents(0);
    // A current row always, so that a screen reader entering the list
    // reads one.
    const int count = list_->topLevelItemCount();
    if (count > 0) {
        QTreeWidgetItem* item = list_->topLevelItem(select >= 0 && select < count ? select : 0);
        if (list_->hasFocus()) {
            list_->setCurrentItem(item);
        } else {
            // Qt's tree view tells a screen reader of its new current row as
            // a focus, even hidden: a list filled out of the reader's sight
            // would take the speech from where the reader is.
            QItemSelectionModel* selection = list_->selectionModel();
            const QModelIndex index = list_->model()->index(list_->indexOfTopLevelItem(item), 0);
            const QSignalBlocker quiet(selection);
            selection->setCurrentIndex(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            list_->viewport()->update();
        }
    }
    filling_ = false;
}

void SignetsPane::Add(int book, int chapter, int verse) {
    std::string name = communs_
                           ? FromUtf8(communs_->FormatRef(book, chapter, verse, 0)).toStdString()
                           : std::string();
    const QString said = QStringLiteral("Signet ajouté : ") + QString::fromStdString(name);
    // Kept as the Segond numbers the verse, so that it opens on the same
    // verse in every Bible: Psaume 51:7 of an English Bible is the Segond's
    // 51:9.
    if (communs_) {
        const VersePlace segond = communs_->VerseNumbering->ToSegond(PlaceOf(book, chapter, verse));
        if (segond != 0) {
            book = BookOf(segond);
            chapter = ChapterOf(segond);
            verse = VerseOf(segond);
        }
    }
    const std::size_t at = AddSignet(signets_, Signet{book, chapter, verse, std::move(name)});
    Fill(static_cast<int>(at));
    Save();
    // Said also while the pane is hidden.
    Announce(window(), said);
}

void SignetsPane::RemoveCurrent() {
    const int i = list_->indexOfTopLevelItem(list_->currentItem());
    if (i < 0 || i >= static_cast<int>(signets_.size())) return;
    signets_.erase(signets_.begin() + i);
    Fill(std::min(i, static_cast<int>(signets_.size()) - 1));
    Save();
}

void SignetsPane::RenameCurrent() {
    if (QTreeWidgetItem* item = list_->currentItem()) {
        list_->setFocus();
        list_->editItem(item, 0);
    }
}

void SignetsPane::Save() {
    const std::string text = WriteSignets(signets_);
    WriteUserFile(FilePath(), QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

void SignetsPane::OpenItem(QTreeWidgetItem* item) {
    const int i = list_->indexOfTopLevelItem(item);
    if (i < 0 || i >= static_cast<int>(signets_.size())) return;
    const Signet& s = signets_[static_cast<std::size_t>(i)];
    const PlacesAt mine =
        communs_ ? communs_->VerseNumbering->FromSegond(PlaceOf(s.book, s.chapter, s.verse))
                 : PlacesAt{};
    if (mine.count == 0) {
        emit Open(s.book, s.chapter, s.verse);
        return;
    }
    emit Open(BookOf(mine.places[0]), ChapterOf(mine.places[0]), VerseOf(mine.places[0]));
}

bool SignetsPane::eventFilter(QObject* watched, QEvent* event) {
    // Keys typed while a name is edited go to its editor, not here.
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete) {
            RemoveCurrent();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OpenItem(list_->currentItem());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace lorvane
