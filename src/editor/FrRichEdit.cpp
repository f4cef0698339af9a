#include "FrRichEdit.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "DocumentFile.h"
#include "ErrorDisplay.h"
#include "ImageList.h"
#include "PadRules.h"
#include "PageFonts.h"
#include "QtPath.h"
#include "Rtf.h"
#include "RtfQt.h"

namespace lorvane {
namespace {

constexpr double kIndentStep = 10.0;    // points
constexpr double kBulletIndent = 10.0;  // points
constexpr int kScriptOffset = 4;        // half-points: 2 points, 40 twips
constexpr int kMaxPointSize = rtf::kMaxHalfPoints / 2;

// The typeface of the pages (Tahoma, or the face drawn for it) at 10 points:
// a face that is there, which the typeface box names as it is.
QFont PadFont() {
    QFont font(TahomaStandIn());
    font.setPointSize(10);
    return font;
}

// The blocks that hold the selection (or the caret).
std::vector<QTextBlock> SelectedBlocks(const QTextEdit* edit) {
    const QTextCursor c = edit->textCursor();
    const QTextDocument* doc = edit->document();
    std::vector<QTextBlock> blocks;
    const QTextBlock last = doc->findBlock(c.selectionEnd());
    for (QTextBlock b = doc->findBlock(c.selectionStart()); b.isValid(); b = b.next()) {
        blocks.push_back(b);
        if (b == last) break;
    }
    return blocks;
}

double PointSizeOf(const QTextCharFormat& format, const QFont& base) {
    return PointSize(format, base);
}

// The pad's text: pasted and dropped data goes through the pad.
class PadTextEdit : public QTextEdit {
  public:
    PadTextEdit(TFrmRichEdit* pad, QWidget* parent) : QTextEdit(parent), pad_(pad) {}
    // Qt's own insertion, for plain text.
    void InsertPlain(const QMimeData* source) { QTextEdit::insertFromMimeData(source); }

  protected:
    void insertFromMimeData(const QMimeData* source) override {
        if (source) Guarded([&] { pad_->InsertFromMime(*source); });
    }

  private:
    TFrmRichEdit* pad_;
};

QString FolderOf(const std::string& path) {
    return QFileInfo(PathToQt(path)).absolutePath();
}

QString BaseNameOf(const std::string& path) {
    return QFileInfo(PathToQt(path)).fileName();
}

// One undo step for several edits.
class EditBlock {
  public:
    explicit EditBlock(QTextDocument* doc) : cursor_(doc) { cursor_.beginEditBlock(); }
    ~EditBlock() { cursor_.endEditBlock(); }
    EditBlock(const EditBlock&) = delete;
    EditBlock& operator=(const EditBlock&) = delete;

  private:
    QTextCursor cursor_;
};

}  // namespace

TFrmRichEdit::TFrmRichEdit(QWidget* parent) : QFrame(parent) {
    setObjectName("FrmRichEdit");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    const ImageList fichier = ImageList::Fichier();
    const ImageList forme = ImageList::Forme();

    // The file and clipboard toolbar.
    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName("ToolBar2");
    ToolBar2->setIconSize(QSize(16, 16));
    ToolBar2->setFixedHeight(29);
    ToolBar2->setMovable(false);
    BtnNew =
        Button(ToolBar2, "BtnNew", fichier.Icon(0), QStringLiteral("Nouveau"), false, "Ctrl+N");
    BtnOpen =
        Button(ToolBar2, "BtnOpen", fichier.Icon(1), QStringLiteral("Ouvrir"), false, "Ctrl+O");
    BtnSave = Button(ToolBar2, "BtnSave", fichier.Icon(2), QStringLiteral("Enregistrer"), false,
                     "Ctrl+S");
    BtnSaveAs = Button(ToolBar2, "BtnSaveAs", fichier.Icon(3),
                       QStringLiteral("Enregistrer sous..."), false, "Ctrl+Maj+S");
    ToolButton11 = ToolBar2->addSeparator();
    BtnPrint =
        Button(ToolBar2, "BtnPrint", fichier.Icon(4), QStringLiteral("Imprimer"), false, "Ctrl+P");
    ToolButton12 = ToolBar2->addSeparator();
    BtnCut = Button(ToolBar2, "BtnCut", fichier.Icon(5), QStringLiteral("Couper"), false, "Ctrl+X");
    BtnCopy =
        Button(ToolBar2, "BtnCopy", fichier.Icon(6), QStringLiteral("Copier"), false, "Ctrl+C");
    BtnPaste =
        Button(ToolBar2, "BtnPaste", fichier.Icon(7), QStringLiteral("Coller"), false, "Ctrl+V");
    column->addWidget(ToolBar2);

    // The formatting toolbar, two rows.
    ToolBar1 = new QWidget(this);
    ToolBar1->setObjectName("ToolBar1");
    auto* rows = new QVBoxLayout(ToolBar1);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    auto row = [&](const char* name) {
        auto* bar = new QWidget(ToolBar1);
        bar->setObjectName(name);
        auto* line = new QHBoxLayout(bar);
        line->setContentsMargins(2, 1, 2, 1);
        line->setSpacing(0);
        rows->addWidget(bar);
        return bar;
    };
    ToolBar1Row1 = row("ToolBar1Row1");
    ToolBar1Row2 = row("ToolBar1Row2");

    Fontname = new QComboBox(ToolBar1Row1);
    Fontname->setObjectName("Fontname");
    Fontname->setEditable(true);
    Fontname->setInsertPolicy(QComboBox::NoInsert);
    // 145 pixels, narrower only when the panel is narrower than the row.
    Fontname->setMaximumWidth(145);
    Fontname->setMinimumWidth(80);
    Fontname->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Fontname->setToolTip(QStringLiteral("Police"));
    Fontname->setAccessibleName(QStringLiteral("Police"));
    QStringList families;
    // A family that several foundries make is listed once, by its name
    // alone: "Noto Sans", not "Noto Sans [UKWN]".
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family))
            families.push_back(QString(family).remove(foundry));
    std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
        return QString::localeAwareCompare(a, b) < 0;
    });
    families.removeDuplicates();
    Fontname->addItems(families);
    ToolBar1Row1->layout()->addWidget(Fontname);

    FontSize = new QComboBox(ToolBar1Row1);
    FontSize->setObjectName("FontSize");
    FontSize->setEditable(true);
    FontSize->setInsertPolicy(QComboBox::NoInsert);
    FontSize->setFixedWidth(48);
    FontSize->setToolTip(QStringLiteral("Taille"));
    FontSize->setAccessibleName(QStringLiteral("Taille"));
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        FontSize->addItem(QString::number(size));
    // Each keystroke is applied at once: a completion would apply what the
    // reader did not type ("1" would become "10").
    FontSize->setCompleter(nullptr);
    ToolBar1Row1->layout()->addWidget(FontSize);
    ToolButton4 = Separator(ToolBar1Row1);
    BoldButton =
        Button(ToolBar1Row1, "BoldButton", forme.Icon(0), QStringLiteral("Gras"), true, "Ctrl+B");
    ItalicButton = Button(ToolBar1Row1, "ItalicButton", forme.Icon(1), QStringLiteral("Italique"),
                          true, "Ctrl+I");
    UnderlineButton = Button(ToolBar1Row1, "UnderlineButton", forme.Icon(2),
                             QString::fromUtf8("Souligné"), true, "Ctrl+U");
    ToolButton5 = Separator(ToolBar1Row1);
    static_cast<QHBoxLayout*>(ToolBar1Row1->layout())->addStretch(1);

    LeftAlign = Button(ToolBar1Row2, "LeftAlign", forme.Icon(3),
                       QString::fromUtf8("Aligné à gauche"), true, "Ctrl+L");
    CenterAlign = Button(ToolBar1Row2, "CenterAlign", forme.Icon(4), QString::fromUtf8("Centré"),
                         true, "Ctrl+E");
    RightAlign = Button(ToolBar1Row2, "RightAlign", forme.Icon(5),
                        QString::fromUtf8("Aligné à droite"), true, "Ctrl+R");
    AlignGroup = new QButtonGroup(this);
    AlignGroup->setExclusive(true);
    AlignGroup->addButton(LeftAlign, 0);
    AlignGroup->addButton(CenterAlign, 2);
    AlignGroup->addButton(RightAlign, 1);
    ToolButton6 = Separator(ToolBar1Row2);
    BulletsButton =
        Button(ToolBar1Row2, "BulletsButton", forme.Icon(6), QStringLiteral("Puces"), true);
    ToolButton1 = Button(ToolBar1Row2, "ToolButton1", forme.Icon(7),
                         QStringLiteral("Couleur du texte"), false);
    Superscript =
        Button(ToolBar1Row2, "Superscript", forme.Icon(8), QStringLiteral("Exposant"), true);
    Subscript = Button(ToolBar1Row2, "Subscript", forme.Icon(9), QStringLiteral("Indice"), true);
    ToolButton7 = Separator(ToolBar1Row2);
    ToolButton2 = Button(ToolBar1Row2, "ToolButton2", forme.Icon(10),
                         QString::fromUtf8("Réduire le retrait"), false);
    ToolButton3 = Button(ToolBar1Row2, "ToolButton3", forme.Icon(11),
                         QStringLiteral("Augmenter le retrait"), false);
    static_cast<QHBoxLayout*>(ToolBar1Row2->layout())->addStretch(1);
    column->addWidget(ToolBar1);

    // The text.
    RTFControl = new PadTextEdit(this, this);
    RTFControl->setObjectName("RTFControl");
    RTFControl->setFont(PadFont());
    RTFControl->document()->setDefaultFont(PadFont());
    RTFControl->setLineWrapMode(QTextEdit::WidgetWidth);
    RTFControl->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RTFControl->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RTFControl->setAcceptRichText(true);
    RTFControl->setAccessibleName(QStringLiteral("Note"));
    RTFControl->installEventFilter(this);
    column->addWidget(RTFControl, 1);

    FileLabel = new QLabel(this);
    FileLabel->setObjectName("FileLabel");
    FileLabel->setContentsMargins(4, 1, 4, 1);
    // A long name is cut to the pad's width, never widens it.
    FileLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    column->addWidget(FileLabel);

    // The dialogs start in the documents folder, else the home folder, then
    // where the last file was opened or saved. They are made when first used.
    folder_ = StartFolder();

    // Wiring.
    auto click = [this](QToolButton* button, void (TFrmRichEdit::*handler)()) {
        connect(button, &QToolButton::clicked, this,
                GuardedSlot([this, handler](bool) { (this->*handler)(); }));
    };
    click(BoldButton, &TFrmRichEdit::BoldButtonClick);
    click(ItalicButton, &TFrmRichEdit::ItalicButtonClick);
    click(UnderlineButton, &TFrmRichEdit::UnderlineButtonClick);
    click(BulletsButton, &TFrmRichEdit::BulletsButtonClick);
    click(ToolButton1, &TFrmRichEdit::ToolButton1Click);
    click(Superscript, &TFrmRichEdit::SuperscriptClick);
    click(Subscript, &TFrmRichEdit::SubscriptClick);
    click(ToolButton2, &TFrmRichEdit::ToolButton2Click);
    click(ToolButton3, &TFrmRichEdit::ToolButton3Click);
    click(BtnNew, &TFrmRichEdit::BtnNewClick);
    click(BtnOpen, &TFrmRichEdit::BtnOpenClick);
    click(BtnSave, &TFrmRichEdit::BtnSaveClick);
    click(BtnSaveAs, &TFrmRichEdit::BtnSaveAsClick);
    click(BtnPrint, &TFrmRichEdit::BtnPrintClick);
    click(BtnCut, &TFrmRichEdit::BtnCutClick);
    click(BtnCopy, &TFrmRichEdit::BtnCopyClick);
    click(BtnPaste, &TFrmRichEdit::BtnPasteClick);
    connect(AlignGroup, &QButtonGroup::buttonClicked, this,
            GuardedSlot([this](QAbstractButton* b) { LeftAlignClick(b); }));
    connect(Fontname, &QComboBox::textActivated, this,
            GuardedSlot([this](const QString&) { FontnameChange(); }));
    connect(Fontname, &QComboBox::editTextChanged, this,
            GuardedSlot([this](const QString&) { FontnameChange(); }));
    connect(FontSize, &QComboBox::textActivated, this,
            GuardedSlot([this](const QString&) { FontSizeChange(); }));
    connect(FontSize, &QComboBox::editTextChanged, this,
            GuardedSlot([this](const QString&) { FontSizeChange(); }));
    connect(RTFControl, &QTextEdit::cursorPositionChanged, this,
            GuardedSlot([this] { RTFControlSelectionChange(); }));
    connect(RTFControl, &QTextEdit::selectionChanged, this,
            GuardedSlot([this] { RTFControlSelectionChange(); }));
    connect(RTFControl, &QTextEdit::currentCharFormatChanged, this,
            GuardedSlot([this](const QTextCharFormat&) { RTFControlSelectionChange(); }));

    connect(RTFControl, &QTextEdit::textChanged, this, [this] { UpdateFileLabel(); });

    // The shortcuts, wherever the focus is in the pad.
    AddShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), [this] { BtnNew->click(); });
    AddShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { BtnOpen->click(); });
    AddShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { BtnSave->click(); });
    AddShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { BtnSaveAs->click(); });
    AddShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { BtnPrint->click(); });
    AddShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), [this] { LeftAlign->click(); });
    AddShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), [this] { CenterAlign->click(); });
    AddShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), [this] { RightAlign->click(); });
    // Ctrl+B, I, U toggle the style wherever the focus is in the pad (with
    // Alt they come to the text as keys, RTFControlKeyDown). Inside the text
    // and the boxes their own clipboard keys win.
    for (int key : {Qt::Key_B, Qt::Key_I, Qt::Key_U})
        AddShortcut(QKeySequence(Qt::CTRL | key), [this, key] {
            RTFControlKeyDown(key, Qt::ControlModifier);
            SkipNextChar = false;
        });
    AddShortcut(QKeySequence::Cut, [this] { RTFControl->cut(); });
    AddShortcut(QKeySequence::Copy, [this] { RTFControl->copy(); });
    AddShortcut(QKeySequence::Paste, [this] { RTFControl->paste(); });
    for (QAbstractButton* b : AlignGroup->buttons())
        b->installEventFilter(this);
    for (QComboBox* box : {Fontname, FontSize})
        if (box->lineEdit()) box->lineEdit()->installEventFilter(this);

    // Tab goes through the buttons and boxes in screen order, then the text.
    const std::vector<QWidget*> order = {
        BtnNew,          BtnOpen,   BtnSave,     BtnSaveAs,   BtnPrint,      BtnCut,
        BtnCopy,         BtnPaste,  Fontname,    FontSize,    BoldButton,    ItalicButton,
        UnderlineButton, LeftAlign, CenterAlign, RightAlign,  BulletsButton, ToolButton1,
        Superscript,     Subscript, ToolButton2, ToolButton3, RTFControl};
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    setFocusProxy(RTFControl);

    // The caret at the start of the empty text.
    RTFControl->moveCursor(QTextCursor::Start);
    RTFControlSelectionChange();
    UpdateFileLabel();
}

QToolButton* TFrmRichEdit::Button(QWidget* bar, const char* name, const QIcon& icon,
                                  const QString& tip, bool checkable, const char* keys) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setToolTip(keys ? tip + QStringLiteral(" (") + QString::fromUtf8(keys) + u')' : tip);
    button->setAccessibleName(tip);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    // Tab reaches it; a click leaves the focus in the text.
    button->setFocusPolicy(Qt::TabFocus);
    if (auto* toolbar = qobject_cast<QToolBar*>(bar))
        toolbar->addWidget(button);
    else
        bar->layout()->addWidget(button);
    return button;
}

QWidget* TFrmRichEdit::Separator(QWidget* row) {
    auto* line = new QFrame(row);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedWidth(8);
    row->layout()->addWidget(line);
    return line;
}

void TFrmRichEdit::AddShortcut(const QKeySequence& keys, std::function<void()> run) {
    auto* action = new QAction(this);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, GuardedSlot([run](bool) { run(); }));
    shortcuts_.push_back(action);
}

bool TFrmRichEdit::IsPadShortcut(const QKeyEvent& key) const {
    const QKeySequence pressed(key.keyCombination());
    for (const QAction* a : shortcuts_) {
        const QKeySequence keys = a->shortcut();
        const bool clipboard = keys == QKeySequence(QKeySequence::Cut) ||
                               keys == QKeySequence(QKeySequence::Copy) ||
                               keys == QKeySequence(QKeySequence::Paste);
        if (!clipboard && keys == pressed) return true;
    }
    return false;
}

QFileDialog* TFrmRichEdit::NewDialog(bool save) {
    auto* dialog = new QFileDialog(this);
    if (save) {
        dialog->setObjectName("SD");
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setNameFilters({QStringLiteral("Fichier texte enrichi (*.RTF)"),
                                QStringLiteral("Tous les fichiers (*)")});
    } else {
        dialog->setObjectName("OD");
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        // The pad reads RTF and plain text, whatever the case of their
        // extension. Each filter shows its name; the patterns in force,
        // which take both cases, are the last brackets, not shown.
        dialog->setOption(QFileDialog::HideNameFilterDetails);
        dialog->setNameFilters(
            {QStringLiteral("Textes (*.rtf *.txt) (*.[rR][tT][fF] *.[tT][xX][tT])"),
             QStringLiteral("RTF (*.rtf) (*.[rR][tT][fF])"),
             QStringLiteral("Texte (*.txt) (*.[tT][xX][tT])"),
             QStringLiteral("Tous les fichiers (*) (*)")});
    }
    dialog->setDefaultSuffix(QStringLiteral("rtf"));
    dialog->setDirectory(folder_);
    return dialog;
}

bool TFrmRichEdit::AskFile(bool save, std::string* path) {
    QFileDialog*& dialog = save ? saveDialog_ : openDialog_;
    if (!dialog) dialog = NewDialog(save);
    dialog->setDirectory(folder_);
    // Open starts with an empty name, save with the file's own; a text file
    // whose text has formatting, with .rtf in place of its extension.
    if (save && !FileName.empty()) {
        const bool rtfName =
            plainTextFile_ && rtf::HasFormatting(DocumentFromQt(*RTFControl->document()));
        dialog->selectFile(BaseNameOf(rtfName ? rtf::RtfNameFor(FileName) : FileName));
    }
    const bool chosen = dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
    if (chosen) *path = PathFromQt(dialog->selectedFiles().first());
    // Each dialog is used once. Its name completion lists the names that
    // begin as typed in a pop-up window of its own; Enter accepts the dialog
    // while that list shows, and the list stayed on screen over the main
    // window once the dialog was gone, taking the next click and keys. A
    // used dialog goes, its list with it, and the next one starts afresh.
    delete dialog;
    dialog = nullptr;
    return chosen;
}

void TFrmRichEdit::ShowNotice(const QString& text) {
    notice_ = text;
    UpdateFileLabel();
}

void TFrmRichEdit::UpdateFileLabel() {
    if (!FileLabel) return;
    const QString name = FileName.empty() ? QStringLiteral("Sans titre") : BaseNameOf(FileName);
    if (Modified()) notice_.clear();
    const QString text = !notice_.isEmpty() ? notice_
                         : Modified()       ? name + QString::fromUtf8(" (modifié)")
                                            : name;
    FileLabel->setToolTip(FileName.empty() ? text : PathToQt(FileName));
    const int room = std::max(20, width() - 8);
    FileLabel->setText(FileLabel->fontMetrics().elidedText(text, Qt::ElideMiddle, room));
}

void TFrmRichEdit::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    UpdateFileLabel();
}

QString TFrmRichEdit::StartFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString TFrmRichEdit::BoxTitle() const {
    return QStringLiteral("Lorvane");
}

// ---------------------------------------------------------------------------
// The toolbar follows the selection.

QTextCharFormat TFrmRichEdit::SelectionFormat() const {
    const QTextCursor c = RTFControl->textCursor();
    if (!c.hasSelection()) return RTFControl->currentCharFormat();
    QTextCursor first(RTFControl->document());
    first.setPosition(c.selectionStart() + 1);
    return first.charFormat();
}

void TFrmRichEdit::RTFControlSelectionChange() {
    const QTextCharFormat f = SelectionFormat();
    const QFont base = RTFControl->document()->defaultFont();
    const rtf::CharFormat c = CharFromQt(f, base);
    BoldButton->setChecked(c.bold);
    ItalicButton->setChecked(c.italic);
    UnderlineButton->setChecked(c.underline);

    const QTextBlock block = RTFControl->textCursor().block();
    BulletsButton->setChecked(block.textList() != nullptr);

    ShowCurrentSize();
    {
        const QSignalBlocker blockName(Fontname);
        const QString family = QString::fromStdString(c.font);
        const int index = Fontname->findText(family, Qt::MatchFixedString);
        if (index >= 0) Fontname->setCurrentIndex(index);
        Fontname->setEditText(family);
    }

    const Qt::Alignment a = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    const int value = (a & Qt::AlignHCenter) ? 2 : ((a & Qt::AlignRight) ? 1 : 0);
    AlignGroup->button(value)->setChecked(true);

    const int offset = VerticalOffset(f);
    Subscript->setChecked(offset < 0);
    Superscript->setChecked(offset > 0);
}

void TFrmRichEdit::ShowCurrentSize() {
    const QSignalBlocker block(FontSize);
    const double points = PointSizeOf(SelectionFormat(), RTFControl->document()->defaultFont());
    const QString text = QString::number(points);
    const int index = FontSize->findText(text);
    if (index >= 0) FontSize->setCurrentIndex(index);
    FontSize->setEditText(text);
}

// ---------------------------------------------------------------------------
// Keyboard

bool TFrmRichEdit::eventFilter(QObject* watched, QEvent* event) {
    // The pad's shortcuts win over the keys that the text and the boxes
    // would take for themselves (Ctrl+E: end of line).
    if (event->type() == QEvent::ShortcutOverride &&
        IsPadShortcut(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::FocusIn) {
        // A button of a group takes Tab away from the others of its group
        // when it gets the focus, as radio buttons do; each alignment
        // button stays on the Tab path.
        const auto buttons = AlignGroup->buttons();
        if (std::find(buttons.begin(), buttons.end(), watched) != buttons.end()) {
            static_cast<QObject*>(watched)->event(event);
            for (QAbstractButton* b : buttons)
                b->setFocusPolicy(Qt::TabFocus);
            return true;
        }
    }
    if (watched != RTFControl) return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Ctrl or Alt with B, I, U belong to the text, not to a menu.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool style =
            key->key() == Qt::Key_B || key->key() == Qt::Key_I || key->key() == Qt::Key_U;
        if (style && (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        bool shortcut = false;
        Guarded([&] { shortcut = RTFControlKeyDown(key->key(), key->modifiers()); });
        const bool discard = RTFControlKeyPress(key->text());
        // A key's character comes with the key itself: what Ctrl+I set is
        // spent on this event and can never eat a later character.
        SkipNextChar = false;
        // A style shortcut types nothing (Alt+B would type "b").
        return shortcut || discard;
    }
    return QFrame::eventFilter(watched, event);
}

bool TFrmRichEdit::RTFControlKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier))) return false;
    if (key != Qt::Key_B && key != Qt::Key_I && key != Qt::Key_U) return false;
    const rtf::CharFormat c = CharFromQt(SelectionFormat(), RTFControl->document()->defaultFont());
    QTextCharFormat f;
    if (key == Qt::Key_B) f.setFontWeight(c.bold ? QFont::Normal : QFont::Bold);
    if (key == Qt::Key_I) {
        f.setFontItalic(!c.italic);
        if (modifiers & Qt::ControlModifier) SkipNextChar = true;
    }
    if (key == Qt::Key_U) f.setFontUnderline(!c.underline);
    MergeFormat(f);
    RTFControlSelectionChange();
    return true;
}

bool TFrmRichEdit::RTFControlKeyPress(const QString& text) {
    if (!SkipNextChar || text.isEmpty()) return false;
    SkipNextChar = false;
    return true;
}

// ---------------------------------------------------------------------------
// Character formatting

void TFrmRichEdit::MergeFormat(const QTextCharFormat& format) {
    RTFControl->mergeCurrentCharFormat(format);
}

void TFrmRichEdit::BoldButtonClick() {
    QTextCharFormat f;
    f.setFontWeight(BoldButton->isChecked() ? QFont::Bold : QFont::Normal);
    MergeFormat(f);
}

void TFrmRichEdit::ItalicButtonClick() {
    QTextCharFormat f;
    f.setFontItalic(ItalicButton->isChecked());
    MergeFormat(f);
}

void TFrmRichEdit::UnderlineButtonClick() {
    QTextCharFormat f;
    f.setFontUnderline(UnderlineButton->isChecked());
    MergeFormat(f);
}

void TFrmRichEdit::FontnameChange() {
    const int index = Fontname->findText(Fontname->currentText(), Qt::MatchFixedString);
    if (index < 0) return;  // typed text that names no typeface
    QTextCharFormat f;
    f.setFontFamilies(QStringList{Fontname->itemText(index)});
    MergeFormat(f);
}

void TFrmRichEdit::FontSizeChange() {
    bool ok = false;
    const int size = FontSize->currentText().trimmed().toInt(&ok);
    if (!ok || size < 1 || size > kMaxPointSize) {
        // Not a whole number of points: the box shows the size again.
        QLineEdit* line = FontSize->lineEdit();
        ShowCurrentSize();
        if (line) line->end(false);
        return;
    }
    QTextCharFormat f;
    f.setFontPointSize(size);
    MergeFormat(f);
    RefreshOffsets();
}

QColorDialog* TFrmRichEdit::ColorDialog1() {
    if (!colorDialog_) {
        colorDialog_ = new QColorDialog(this);
        colorDialog_->setObjectName("ColorDialog1");
    }
    return colorDialog_;
}

QFileDialog* TFrmRichEdit::OD() {
    if (!openDialog_) openDialog_ = NewDialog(false);
    return openDialog_;
}

QFileDialog* TFrmRichEdit::SD() {
    if (!saveDialog_) saveDialog_ = NewDialog(true);
    return saveDialog_;
}

void TFrmRichEdit::ToolButton1Click() {
    const QTextCharFormat current = SelectionFormat();
    ColorDialog1()->setCurrentColor(current.foreground().style() != Qt::NoBrush
                                        ? current.foreground().color()
                                        : QColor(Qt::black));
    if (ColorDialog1()->exec() != QDialog::Accepted) return;
    QTextCharFormat f;
    f.setForeground(ColorDialog1()->selectedColor());
    MergeFormat(f);
}

void TFrmRichEdit::SuperscriptClick() {
    ApplyOffset(Superscript->isChecked() ? kScriptOffset : 0);
    Subscript->setChecked(false);
}

void TFrmRichEdit::SubscriptClick() {
    ApplyOffset(Subscript->isChecked() ? -kScriptOffset : 0);
    Superscript->setChecked(false);
}

namespace {

// The fragments of the selection: their range and format, gathered before
// any of them changes.
struct Piece {
    int start;
    int end;
    QTextCharFormat format;
};

std::vector<Piece> SelectedPieces(const QTextEdit* edit) {
    const QTextCursor c = edit->textCursor();
    const int start = c.selectionStart();
    const int end = c.selectionEnd();
    std::vector<Piece> pieces;
    for (QTextBlock b = edit->document()->findBlock(start); b.isValid() && b.position() <= end;
         b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            const int a = std::max(fr.position(), start);
            const int z = std::min(fr.position() + fr.length(), end);
            if (a < z) pieces.push_back({a, z, fr.charFormat()});
        }
    }
    return pieces;
}

}  // namespace

void TFrmRichEdit::ApplyOffset(int halfPoints) {
    QTextDocument* doc = RTFControl->document();
    const QFont base = doc->defaultFont();
    if (!RTFControl->textCursor().hasSelection()) {
        QTextCharFormat f;
        SetVerticalOffset(f, halfPoints, PointSizeOf(RTFControl->currentCharFormat(), base));
        MergeFormat(f);
        return;
    }
    // The offset is drawn as a share of each piece's own size.
    EditBlock step(doc);
    for (const Piece& p : SelectedPieces(RTFControl)) {
        QTextCursor c(doc);
        c.setPosition(p.start);
        c.setPosition(p.end, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        SetVerticalOffset(f, halfPoints, PointSizeOf(p.format, base));
        c.mergeCharFormat(f);
    }
}

void TFrmRichEdit::RefreshOffsets() {
    QTextDocument* doc = RTFControl->document();
    const QFont base = doc->defaultFont();
    QTextCharFormat current = RTFControl->currentCharFormat();
    if (!RTFControl->textCursor().hasSelection()) {
        if (const int offset = VerticalOffset(current); offset != 0) {
            QTextCharFormat f;
            SetVerticalOffset(f, offset, PointSizeOf(current, base));
            MergeFormat(f);
        }
        return;
    }
    EditBlock step(doc);
    for (const Piece& p : SelectedPieces(RTFControl)) {
        const int offset = VerticalOffset(p.format);
        if (offset == 0) continue;
        QTextCursor c(doc);
        c.setPosition(p.start);
        c.setPosition(p.end, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        SetVerticalOffset(f, offset, PointSizeOf(p.format, base));
        c.mergeCharFormat(f);
    }
}

// ---------------------------------------------------------------------------
// Paragraph formatting

void TFrmRichEdit::LeftAlignClick(QAbstractButton* sender) {
    switch (AlignGroup->id(sender)) {
        case 1:
            RTFControl->setAlignment(Qt::AlignRight);
            break;
        case 2:
            RTFControl->setAlignment(Qt::AlignHCenter);
            break;
        default:
            RTFControl->setAlignment(Qt::AlignLeft);
            break;
    }
}

void TFrmRichEdit::BulletsButtonClick() {
    QTextDocument* doc = RTFControl->document();
    EditBlock step(doc);
    const bool on = BulletsButton->isChecked();
    for (const QTextBlock& block : SelectedBlocks(RTFControl)) {
        QTextCursor c(block);
        if (!on) {
            if (QTextList* list = block.textList()) list->remove(block);
        }
        // Bullets indent the paragraph; taken off, the indent goes with them.
        QTextBlockFormat f = block.blockFormat();
        f.setLeftMargin(on ? kBulletIndent * kPixelsPerPoint : 0.0);
        f.setIndent(0);
        c.setBlockFormat(f);
    }
    if (on) {
        QTextCursor c = RTFControl->textCursor();
        if (!c.block().textList()) {
            QTextListFormat bullets;
            bullets.setStyle(QTextListFormat::ListDisc);
            bullets.setIndent(0);
            c.createList(bullets);
        } else {
            // Blocks of the selection outside the caret's list join it.
            QTextList* list = c.block().textList();
            for (const QTextBlock& block : SelectedBlocks(RTFControl))
                if (block.textList() != list) {
                    if (QTextList* other = block.textList()) other->remove(block);
                    list->add(block);
                }
        }
    }
}

void TFrmRichEdit::ToolButton2Click() {
    QTextDocument* doc = RTFControl->document();
    EditBlock step(doc);
    for (const QTextBlock& block : SelectedBlocks(RTFControl)) {
        QTextBlockFormat f = block.blockFormat();
        const double points = f.textIndent() / kPixelsPerPoint;
        if (points < kIndentStep - 1e-6) continue;
        f.setTextIndent((points - kIndentStep) * kPixelsPerPoint);
        QTextCursor(block).setBlockFormat(f);
    }
}

void TFrmRichEdit::ToolButton3Click() {
    QTextDocument* doc = RTFControl->document();
    EditBlock step(doc);
    for (const QTextBlock& block : SelectedBlocks(RTFControl)) {
        QTextBlockFormat f = block.blockFormat();
        f.setTextIndent(f.textIndent() + kIndentStep * kPixelsPerPoint);
        QTextCursor(block).setBlockFormat(f);
    }
}

// ---------------------------------------------------------------------------
// Files

bool TFrmRichEdit::Modified() const {
    return RTFControl->document()->isModified();
}

bool TFrmRichEdit::CanClose() {
    if (!Modified()) return true;
    QMessageBox box(QMessageBox::Question, BoxTitle(),
                    QStringLiteral("Enregistrer les modifications ?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.setObjectName("SaveChangesBox");
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Save();
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

void TFrmRichEdit::LoadFromFile(const std::string& path) {
    const std::string bytes = rtf::ReadDocumentFile(path);
    // Refused before any long work: reading a file beyond the first limit
    // takes longer than the pad may, the layout of a text beyond the others.
    if (bytes.size() > rtf::kPadMaxFileBytes)
        throw rtf::FileError(
            rtf::TooLargeMessage(true, {bytes.size(), rtf::CountParagraphs(bytes)}));
    const rtf::Document model = rtf::Read(bytes);
    if (!rtf::PadTakes(rtf::TextExtent(model)))
        throw rtf::FileError(
            rtf::TooLargeMessage(true, {bytes.size(), rtf::TextExtent(model).paragraphs}));
    SetDocument(model);
    notice_.clear();
    FileName = path;
    plainTextFile_ = !rtf::IsRtf(bytes);
    textFormat_ = plainTextFile_ ? rtf::DetectTextFormat(bytes) : rtf::TextFormat{};
    folder_ = FolderOf(path);
    RTFControl->moveCursor(QTextCursor::Start);
    RTFControl->setCurrentCharFormat(RTFControl->textCursor().charFormat());
    RTFControlSelectionChange();
    UpdateFileLabel();
}

void TFrmRichEdit::SetDocument(const rtf::Document& model) {
    // Filled apart, then handed to the text at once: filled in place, every
    // paragraph would be laid out again and again.
    auto* doc = new QTextDocument(RTFControl);
    doc->setDefaultFont(PadFont());
    DocumentToQt(model, *doc);
    // The text deletes the document it had when it was its child.
    RTFControl->setDocument(doc);
}

void TFrmRichEdit::SaveToFile(const std::string& path) {
    const std::string bytes = rtf::Write(DocumentFromQt(*RTFControl->document()));
    rtf::SaveDocumentFile(path, bytes);
    FileName = path;
    plainTextFile_ = false;
    notice_.clear();
    folder_ = FolderOf(path);
    RTFControl->document()->setModified(false);
    UpdateFileLabel();
}

void TFrmRichEdit::SaveTextToFile(const std::string& path) {
    const rtf::Document model = DocumentFromQt(*RTFControl->document());
    const rtf::TextFormat format = rtf::TextSaveFormat(model, textFormat_);
    rtf::SaveDocumentFile(path, rtf::WriteText(model, format));
    const bool widened = format.encoding != textFormat_.encoding;
    FileName = path;
    plainTextFile_ = true;
    textFormat_ = format;
    notice_.clear();
    folder_ = FolderOf(path);
    RTFControl->document()->setModified(false);
    if (widened)
        ShowNotice(
            QString::fromUtf8("Enregistré en UTF-8 : le texte a des caractères que "
                              "l'encodage Windows-1252 du fichier n'a pas."));
    UpdateFileLabel();
}

std::string TFrmRichEdit::RescueNotes(const std::string& folder, std::time_t now) {
    if (!Modified()) return {};
    std::tm local{};
    ::localtime_r(&now, &local);
    const std::string name = rtf::RescueFileName(local);
    // Never over another file: "... (2).rtf" and on.
    std::string path = folder + "/" + name;
    for (int n = 2; QFileInfo::exists(PathToQt(path)); ++n)
        path = folder + "/" + name.substr(0, name.size() - 4) + " (" + std::to_string(n) + ").rtf";
    rtf::SaveDocumentFile(path, rtf::Write(DocumentFromQt(*RTFControl->document())));
    return path;
}

void TFrmRichEdit::InsertFromMime(const QMimeData& source) {
    const QTextDocument* current = RTFControl->document();
    const rtf::Extent there{static_cast<std::size_t>(current->characterCount()),
                            static_cast<std::size_t>(current->blockCount())};
    auto fits = [&](const rtf::Extent& pasted) {
        if (rtf::PadTakes({there.bytes + pasted.bytes, there.paragraphs + pasted.paragraphs - 1}))
            return true;
        QMessageBox box(QMessageBox::Information, BoxTitle(),
                        QString::fromStdString(rtf::TooLargeMessage(false, pasted)),
                        QMessageBox::Ok, this);
        box.setObjectName("TooLargeBox");
        box.exec();
        return false;
    };
    const QString plain = source.hasText() ? source.text() : QString();
    const std::string plainBytes = plain.toStdString();
    const rtf::Extent plainSize{plainBytes.size(), rtf::CountParagraphs(plainBytes)};
    if (!(source.hasHtml() && RTFControl->acceptRichText())) {
        if (fits(plainSize)) static_cast<PadTextEdit*>(RTFControl)->InsertPlain(&source);
        return;
    }
    const QString html = source.html();
    if (static_cast<std::size_t>(html.size()) > rtf::kPadMaxFileBytes) {
        fits({static_cast<std::size_t>(html.size()), plainSize.paragraphs});
        return;
    }
    // Rich text goes through the pad's own documents: it keeps what the
    // pad's files hold (typeface, sizes in points, bold, italic, underline,
    // colour, offsets, alignment, bullets, indents), so that what the
    // reader sees now is what they see once the file is saved and opened.
    QTextDocument pasted;
    pasted.setDefaultFont(current->defaultFont());
    pasted.setHtml(html);
    const rtf::Document model = DocumentFromQt(pasted);
    if (!fits(rtf::TextExtent(model))) return;
    QTextDocument clean;
    clean.setDefaultFont(current->defaultFont());
    DocumentToQt(model, clean);
    RTFControl->textCursor().insertFragment(QTextDocumentFragment(&clean));
    RTFControl->ensureCursorVisible();
}

bool TFrmRichEdit::Save() {
    if (FileName.empty()) return SaveAs();
    if (plainTextFile_) return SaveText(FileName);
    try {
        SaveToFile(FileName);
        return true;
    } catch (...) {
        ShowDefaultError(CurrentErrorMessage());
        return false;
    }
}

bool TFrmRichEdit::SaveAs() {
    std::string path;
    if (!AskFile(true, &path)) return false;
    // A text file saved over itself, or under another .txt name, stays text.
    if (plainTextFile_ && (path == FileName || rtf::IsTextFileName(path))) return SaveText(path);
    try {
        SaveToFile(path);
        return true;
    } catch (...) {
        ShowDefaultError(CurrentErrorMessage());
        return false;
    }
}

bool TFrmRichEdit::SaveText(const std::string& path) {
    if (rtf::HasFormatting(DocumentFromQt(*RTFControl->document()))) {
        QMessageBox box(QMessageBox::Question, BoxTitle(),
                        QString::fromUtf8("« %1 » est un fichier texte : il ne garde pas la mise "
                                          "en forme (polices, gras, couleurs, alignements, "
                                          "listes).")
                            .arg(BaseNameOf(path)),
                        QMessageBox::NoButton, this);
        box.setObjectName("SaveAsTextBox");
        QPushButton* text =
            box.addButton(QString::fromUtf8("Enregistrer en texte (la mise en forme sera perdue)"),
                          QMessageBox::AcceptRole);
        QPushButton* rich =
            box.addButton(QStringLiteral("Enregistrer en RTF..."), QMessageBox::ActionRole);
        QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
        // Enter loses nothing.
        box.setDefaultButton(rich);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == rich) return SaveAs();
        if (box.clickedButton() != text) return false;
    }
    try {
        SaveTextToFile(path);
        return true;
    } catch (...) {
        ShowDefaultError(CurrentErrorMessage());
        return false;
    }
}

void TFrmRichEdit::BtnNewClick() {
    if (!CanClose()) return;
    FileName.clear();
    plainTextFile_ = false;
    textFormat_ = {};
    notice_.clear();
    RTFControl->clear();
    RTFControl->setCurrentCharFormat(QTextCharFormat());
    RTFControl->document()->setModified(false);
    RTFControlSelectionChange();
    UpdateFileLabel();
    RTFControl->setFocus();
}

void TFrmRichEdit::BtnOpenClick() {
    if (!CanClose()) return;
    std::string path;
    if (!AskFile(false, &path)) return;
    RTFControl->setFocus();
    LoadFromFile(path);
}

void TFrmRichEdit::BtnSaveClick() {
    Save();
}

void TFrmRichEdit::BtnSaveAsClick() {
    SaveAs();
}

void TFrmRichEdit::PrintOn(QPrinter& printer) {
    printer.setDocName(QStringLiteral("Lorvane"));
    RTFControl->document()->print(&printer);
    if (printer.printerState() == QPrinter::Error)
        throw std::runtime_error("L'impression a échoué.");
}

void TFrmRichEdit::BtnPrintClick() {
    QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (!printers.isEmpty()) target = printers.first();
    }
    if (target.isNull()) {
        QMessageBox box(QMessageBox::Information, BoxTitle(),
                        QString::fromUtf8("Aucune imprimante n'est installée."), QMessageBox::Ok,
                        this);
        box.setObjectName("NoPrinterBox");
        box.exec();
        return;
    }
    QPrinter printer(target, QPrinter::HighResolution);
    PrintOn(printer);
}

void TFrmRichEdit::BtnCutClick() {
    RTFControl->cut();
}

void TFrmRichEdit::BtnCopyClick() {
    RTFControl->copy();
}

void TFrmRichEdit::BtnPasteClick() {
    RTFControl->paste();
}

}  // namespace lorvane
