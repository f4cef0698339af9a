// The pad's frame: its two toolbars and the text built, the shortcuts, and
// the keys the pad takes before the text does.

#include "FrRichEdit.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <vector>

#include "Accessible.h"
#include "ErrorDisplay.h"
#include "FrRichEditParts.h"
#include "ImageList.h"
#include "PageFonts.h"
#include "RtfQt.h"

namespace lorvane {

using pad::PadFont;
using pad::PadTextEdit;

namespace pad {

QFont PadFont() {
    QFont font(TahomaStandIn());
    font.setPointSize(10);
    return font;
}

}  // namespace pad

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
    // Tab types a tab here: the way out is said.
    RTFControl->setAccessibleDescription(
        QString::fromUtf8("Tab insère une tabulation ; F6 passe à la zone suivante."));
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
    // The style's new state, for a reader who does not see the buttons.
    const bool on = key == Qt::Key_B ? !c.bold : key == Qt::Key_I ? !c.italic : !c.underline;
    const QString style = key == Qt::Key_B   ? QStringLiteral("gras")
                          : key == Qt::Key_I ? QStringLiteral("italique")
                                             : QStringLiteral("souligné");
    Announce(this, style + (on ? QString::fromUtf8(" activé") : QString::fromUtf8(" désactivé")));
    return true;
}

bool TFrmRichEdit::RTFControlKeyPress(const QString& text) {
    if (!SkipNextChar || text.isEmpty()) return false;
    SkipNextChar = false;
    return true;
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
