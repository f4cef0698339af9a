#include "BiblesFace.h"

#include <QActionGroup>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "QtPath.h"

namespace lorvane::bibles {
namespace {

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

// A menu text shows '&' as itself only doubled.
QString MenuText(const QString& text) {
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// "08/12/2026" for "2026-12-08"; the date of its text for the program's own.
QString ImportDate(const BibleShelf& shelf, std::size_t i) {
    const KeptBible& b = shelf.At(i);
    QDate date = QDate::fromString(Utf8(b.imported), Qt::ISODate);
    if (!date.isValid())
        date = QFileInfo(PathToQt(shelf.DirOf(i) + "data/bible.dat")).lastModified().date();
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

}  // namespace

QString ShownName(const KeptBible& bible) {
    const QString name = Utf8(bible.name);
    const QString abbreviation = Utf8(bible.abbreviation);
    if (abbreviation.isEmpty() || abbreviation == name ||
        bible.abbreviation == kDefaultAbbreviation)
        return name;
    return QStringLiteral("%1 (%2)").arg(name, abbreviation);
}

void FillBibleMenu(QMenu* menu, const BibleShelf& shelf, const std::vector<std::size_t>& compared,
                   QAction* next, const BibleMenuCommands& commands) {
    // What the last filling made goes with it.
    menu->clear();
    for (QMenu* old : menu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        delete old;
    for (QActionGroup* old : menu->findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly))
        delete old;
    auto* group = new QActionGroup(menu);
    for (std::size_t i = 0; i < shelf.Count(); ++i) {
        QString text = MenuText(ShownName(shelf.At(i)));
        if (i < 9) text = QStringLiteral("&%1 %2").arg(i + 1).arg(text);
        QAction* a = menu->addAction(text, menu, [show = commands.show, i] { show(i); });
        a->setCheckable(true);
        a->setChecked(i == shelf.Current());
        a->setActionGroup(group);
        a->setObjectName(QStringLiteral("ActionBible%1").arg(i));
    }
    menu->addSeparator();
    QMenu* with = menu->addMenu(QStringLiteral("&Comparer avec"));
    with->setObjectName("MenuComparer");
    const bool full = compared.size() + 1 >= CompareSet::kMaxColumns;
    for (std::size_t i = 0; i < shelf.Count(); ++i) {
        if (i == shelf.Current()) continue;
        const bool on = std::find(compared.begin(), compared.end(), i) != compared.end();
        QAction* a = with->addAction(MenuText(ShownName(shelf.At(i))), menu,
                                     [compare = commands.compare, i] { compare(i); });
        a->setCheckable(true);
        a->setChecked(on);
        a->setEnabled(on || !full);
        a->setObjectName(QStringLiteral("ActionComparer%1").arg(i));
    }
    with->setEnabled(shelf.Count() > 1);
    QAction* stop =
        menu->addAction(QStringLiteral("&Ne plus comparer"), menu, commands.stopComparing);
    stop->setObjectName("ActionNePlusComparer");
    stop->setEnabled(!compared.empty());
    menu->addSeparator();
    if (next) {
        next->setEnabled(shelf.Count() > 1);
        menu->addAction(next);
    }
    menu->addAction(QStringLiteral("&Gérer les Bibles..."), menu, commands.manage)
        ->setObjectName("ActionGererBibles");
}

bool AskBibleName(QWidget* parent, const KeptBible& bible, QString& name, QString& abbreviation) {
    QDialog box(parent);
    box.setObjectName("RenameBibleDialog");
    box.setWindowTitle(QStringLiteral("Renommer la Bible"));
    auto* form = new QFormLayout;
    auto* nameEdit = new QLineEdit(Utf8(bible.name));
    nameEdit->setObjectName("EditNom");
    nameEdit->setMaxLength(static_cast<int>(kMaxName));
    nameEdit->setMinimumWidth(320);
    auto* abbreviationEdit = new QLineEdit(Utf8(bible.abbreviation));
    abbreviationEdit->setObjectName("EditSigle");
    abbreviationEdit->setMaxLength(static_cast<int>(kMaxAbbreviation));
    form->addRow(QStringLiteral("&Nom :"), nameEdit);
    form->addRow(QStringLiteral("&Sigle :"), abbreviationEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    auto* column = new QVBoxLayout(&box);
    column->addLayout(form);
    column->addWidget(buttons);
    nameEdit->selectAll();
    if (box.exec() != QDialog::Accepted) return false;
    name = nameEdit->text();
    abbreviation = abbreviationEdit->text();
    return true;
}

ManageBiblesDialog::ManageBiblesDialog(const BibleShelf& shelf, Commands commands, QWidget* parent)
    : QDialog(parent), shelf_(shelf), commands_(std::move(commands)) {
    setObjectName("ManageBiblesDialog");
    setWindowTitle(QStringLiteral("Gérer les Bibles"));
    List = new QTreeWidget;
    List->setObjectName("ListeBibles");
    List->setAccessibleName(QStringLiteral("Bibles"));
    List->setRootIsDecorated(false);
    List->setAllColumnsShowFocus(true);
    List->setHeaderLabels({QStringLiteral("Nom"), QStringLiteral("Sigle"), QStringLiteral("Livres"),
                           QStringLiteral("Importée le")});
    List->header()->setStretchLastSection(false);
    List->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    List->setMinimumSize(560, 200);

    BtnRenommer = new QPushButton(QStringLiteral("&Renommer..."));
    BtnRenommer->setObjectName("BtnRenommer");
    BtnSupprimer = new QPushButton(QStringLiteral("&Supprimer"));
    BtnSupprimer->setObjectName("BtnSupprimer");
    BtnReafficher = new QPushButton(QStringLiteral("Réafficher les Bibles &livrées"));
    BtnReafficher->setObjectName("BtnReafficher");
    BtnReafficher->setToolTip(QStringLiteral(
        "Remet dans la liste les Bibles livrées avec Lorvane que vous avez cachées"));
    auto* close = new QPushButton(QStringLiteral("&Fermer"));
    close->setObjectName("BtnFermer");
    connect(BtnRenommer, &QPushButton::clicked, this, &ManageBiblesDialog::RenameClick);
    connect(BtnSupprimer, &QPushButton::clicked, this, &ManageBiblesDialog::RemoveClick);
    connect(BtnReafficher, &QPushButton::clicked, this, &ManageBiblesDialog::ShowHiddenClick);

    // The licence of the Bible chosen: read, selected and copied from the
    // keyboard, Tab going on to the buttons.
    Licence = new QPlainTextEdit;
    Licence->setObjectName("LicenceBible");
    Licence->setReadOnly(true);
    Licence->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    Licence->setTabChangesFocus(true);
    Licence->setFocusPolicy(Qt::StrongFocus);
    Licence->setAccessibleName(QStringLiteral("Licence de la Bible choisie"));
    Licence->setMaximumHeight(140);
    LicenceLabel = new QLabel(QStringLiteral("Li&cence\u00A0:"));
    LicenceLabel->setObjectName("LicenceLabel");
    LicenceLabel->setBuddy(Licence);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(List, &QTreeWidget::currentItemChanged, this, [this] { UpdateButtons(); });
    connect(List, &QTreeWidget::itemActivated, this, [this] { RenameClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnRenommer);
    buttons->addWidget(BtnSupprimer);
    buttons->addWidget(BtnReafficher);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* column = new QVBoxLayout(this);
    column->addWidget(List);
    column->addWidget(LicenceLabel);
    column->addWidget(Licence);
    column->addLayout(buttons);
    Fill();
}

void ManageBiblesDialog::Fill() {
    const int row = std::max(0, List->currentIndex().row());
    List->clear();
    licences_.clear();
    for (std::size_t i = 0; i < shelf_.Count(); ++i) {
        const KeptBible& b = shelf_.At(i);
        licences_.push_back(Utf8(ReadLicence(shelf_.DirOf(i))));
        auto* item = new QTreeWidgetItem(List);
        item->setText(0, Utf8(b.name));
        item->setText(1, Utf8(b.abbreviation));
        item->setText(2, QString::number(CountBooks(shelf_.DirOf(i))));
        item->setText(3, ImportDate(shelf_, i));
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        if (i == shelf_.Current()) {
            QFont bold = item->font(0);
            bold.setBold(true);
            item->setFont(0, bold);
        }
    }
    commentaries_ =
        commands_.commentaries.list ? commands_.commentaries.list() : std::vector<KeptBible>{};
    for (const KeptBible& c : commentaries_) {
        auto* item = new QTreeWidgetItem(List);
        item->setText(0, Utf8(c.name) + QStringLiteral(" (commentaire)"));
        item->setText(1, Utf8(c.abbreviation));
    }
    for (int c = 1; c < 4; ++c)
        List->resizeColumnToContents(c);
    if (List->topLevelItemCount() > 0)
        List->setCurrentItem(List->topLevelItem(std::min(row, List->topLevelItemCount() - 1)));
    UpdateButtons();
}

void ManageBiblesDialog::UpdateButtons() {
    const bool chosen = List->currentItem() != nullptr;
    BtnRenommer->setEnabled(chosen);
    // The last Bible stays: Lorvane needs one. Commentaries may all go.
    const int row = List->currentIndex().row();
    const bool commentary = row >= static_cast<int>(shelf_.Count());
    BtnSupprimer->setEnabled(chosen && (commentary || shelf_.Count() > 1));
    BtnReafficher->setVisible(shelf_.HasHidden() || !shelf_.Shipped().empty());
    BtnReafficher->setEnabled(shelf_.HasHidden() && static_cast<bool>(commands_.showHidden));
    const QString licence = row >= 0 && static_cast<std::size_t>(row) < licences_.size()
                                ? licences_[static_cast<std::size_t>(row)]
                                : QString();
    if (Licence->toPlainText() != licence) Licence->setPlainText(licence);
    Licence->setVisible(!licence.isEmpty());
    LicenceLabel->setVisible(!licence.isEmpty());
}

void ManageBiblesDialog::RenameClick() {
    const int row = List->currentIndex().row();
    const std::size_t c = static_cast<std::size_t>(row) - shelf_.Count();
    if (row >= 0 && c < commentaries_.size()) {
        QString name;
        QString abbreviation;
        if (AskBibleName(this, commentaries_[c], name, abbreviation) &&
            commands_.commentaries.rename(c, name, abbreviation))
            Fill();
        return;
    }
    if (row < 0 || static_cast<std::size_t>(row) >= shelf_.Count()) return;
    QString name;
    QString abbreviation;
    if (!AskBibleName(this, shelf_.At(static_cast<std::size_t>(row)), name, abbreviation)) return;
    if (commands_.rename(static_cast<std::size_t>(row), name, abbreviation)) Fill();
}

void ManageBiblesDialog::RemoveClick() {
    const int row = List->currentIndex().row();
    const std::size_t c = static_cast<std::size_t>(row) - shelf_.Count();
    if (row >= 0 && c < commentaries_.size()) {
        QMessageBox ask(QMessageBox::Question, QStringLiteral("Lorvane"),
                        QStringLiteral("Supprimer « %1 » ? Ce commentaire ne sera plus disponible.")
                            .arg(Utf8(commentaries_[c].name)),
                        QMessageBox::Yes | QMessageBox::No, this);
        ask.setObjectName("RemoveBibleBox");
        ask.setDefaultButton(QMessageBox::No);
        if (ask.exec() == QMessageBox::Yes && commands_.commentaries.remove(c)) Fill();
        return;
    }
    if (row < 0 || static_cast<std::size_t>(row) >= shelf_.Count() || shelf_.Count() < 2) return;
    const KeptBible& b = shelf_.At(static_cast<std::size_t>(row));
    // One that came with the program is only hidden, its files kept.
    const QString question =
        ComesWithProgram(b.folder)
            ? QStringLiteral(
                  "Cacher «\u00A0%1\u00A0»\u00A0? Cette Bible est livrée avec "
                  "Lorvane\u00A0: elle ne sera plus dans la liste, mais elle n'est pas "
                  "effacée. «\u00A0Réafficher les Bibles livrées\u00A0» la remet.")
            : QStringLiteral("Supprimer « %1 » ? Cette Bible ne sera plus disponible.");
    QMessageBox ask(QMessageBox::Question, QStringLiteral("Lorvane"), question.arg(Utf8(b.name)),
                    QMessageBox::Yes | QMessageBox::No, this);
    ask.setObjectName("RemoveBibleBox");
    ask.setDefaultButton(QMessageBox::No);
    if (ask.exec() != QMessageBox::Yes) return;
    if (commands_.remove(static_cast<std::size_t>(row))) Fill();
}

void ManageBiblesDialog::ShowHiddenClick() {
    if (!shelf_.HasHidden() || !commands_.showHidden) return;
    // The row chosen stays on its Bible, whose place may move.
    const int row = List->currentIndex().row();
    const std::string folder = row >= 0 && static_cast<std::size_t>(row) < shelf_.Count()
                                   ? shelf_.At(static_cast<std::size_t>(row)).folder
                                   : std::string();
    if (!commands_.showHidden()) return;
    Fill();
    for (std::size_t i = 0; i < shelf_.Count(); ++i)
        if (shelf_.At(i).folder == folder)
            List->setCurrentItem(List->topLevelItem(static_cast<int>(i)));
    List->setFocus();
}

}  // namespace lorvane::bibles
