#include <sys/stat.h>

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QToolButton>
#include <QtTest>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <tuple>

#include "Fixtures.h"
#include "FrRichEdit.h"
#include "ModalDriver.h"
#include "PageFonts.h"
#include "QtPath.h"
#include "Rtf.h"
#include "RtfQt.h"
#include "SessionEnd.h"
#include "TestAccess.h"

using namespace lorvane;
using lorvane::testing::AnswerBox;
using lorvane::testing::AnswerFileDialog;
using lorvane::testing::ReadFile;
namespace fs = std::filesystem;

class RichEditTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempDir> dir;
    std::unique_ptr<TFrmRichEdit> pad;

    QTextEdit* Edit() { return pad->RTFControl; }
    QTextDocument* Doc() { return pad->RTFControl->document(); }
    QString Path(const char* name) { return QString::fromStdString((dir->path() / name).string()); }

    // Types ASCII as keys; the rest (QTest has no keys for it) is inserted.
    void Type(const QString& text) {
        for (QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(Edit(), c.toLatin1());
            else
                Edit()->insertPlainText(c);
        }
    }
    void Select(int from, int to) {
        QTextCursor c = Edit()->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        Edit()->setTextCursor(c);
    }
    void Caret(int at) { Select(at, at); }
    // The format of the character at position `at`.
    QTextCharFormat At(int at) {
        QTextCursor c(Doc());
        c.setPosition(at + 1);
        return c.charFormat();
    }
    rtf::CharFormat CharAt(int at) { return CharFromQt(At(at), Doc()->defaultFont()); }
    QTextBlock Block(int n) { return Doc()->findBlockByNumber(n); }
    double Points(double pixels) { return pixels / kPixelsPerPoint; }

  private slots:
    void init() {
        dir = std::make_unique<testing::TempDir>();
        pad = std::make_unique<TFrmRichEdit>();
        pad->resize(600, 400);
        pad->show();
        QVERIFY(QTest::qWaitForWindowExposed(pad.get()));
        QVERIFY(QTest::qWaitForWindowActive(pad.get()));
        Edit()->setFocus();
    }
    void cleanup() {
        testing::CancelPendingAnswers();
        pad.reset();
        dir.reset();
    }

    void startsEmptyWithItsControls() {
        QVERIFY(Edit()->toPlainText().isEmpty());
        QVERIFY(pad->FileName.empty());
        QVERIFY(!pad->Modified());
        // The face the pages use for Tahoma, at 10 points: one that is
        // installed, found in the typeface list.
        QCOMPARE(Doc()->defaultFont().family(), TahomaStandIn());
        QCOMPARE(QFontInfo(Doc()->defaultFont()).family(), TahomaStandIn());
        QCOMPARE(Doc()->defaultFont().pointSize(), 10);
        QCOMPARE(pad->FontSize->currentText(), QString("10"));
        QCOMPARE(pad->Fontname->currentText(), TahomaStandIn());
        QVERIFY(pad->Fontname->findText(TahomaStandIn()) >= 0);
        // Families by their names alone, each once.
        for (int i = 0; i < pad->Fontname->count(); ++i)
            QVERIFY2(!pad->Fontname->itemText(i).endsWith(']'),
                     qPrintable(pad->Fontname->itemText(i)));
        QVERIFY(pad->LeftAlign->isChecked());
        QCOMPARE(Edit()->lineWrapMode(), QTextEdit::WidgetWidth);
        QCOMPARE(pad->Fontname->width(), 145);
        QCOMPARE(pad->FontSize->width(), 48);
        QCOMPARE(pad->FontSize->count(), 16);
        QVERIFY(pad->Fontname->count() > 0);
        for (int i = 1; i < pad->Fontname->count(); ++i)
            QVERIFY(QString::localeAwareCompare(pad->Fontname->itemText(i - 1),
                                                pad->Fontname->itemText(i)) <= 0);
        // Every button and both lists speak their tooltip; a button's shows its
        // shortcut.
        const std::tuple<QWidget*, const char*, const char*> named[] = {
            {pad->BtnNew, "Nouveau", "Ctrl+N"},
            {pad->BtnOpen, "Ouvrir", "Ctrl+O"},
            {pad->BtnSave, "Enregistrer", "Ctrl+S"},
            {pad->BtnSaveAs, "Enregistrer sous...", "Ctrl+Maj+S"},
            {pad->BtnPrint, "Imprimer", "Ctrl+P"},
            {pad->BtnCut, "Couper", "Ctrl+X"},
            {pad->BtnCopy, "Copier", "Ctrl+C"},
            {pad->BtnPaste, "Coller", "Ctrl+V"},
            {pad->Fontname, "Police", ""},
            {pad->FontSize, "Taille", ""},
            {pad->BoldButton, "Gras", "Ctrl+B"},
            {pad->ItalicButton, "Italique", "Ctrl+I"},
            {pad->UnderlineButton, "Souligné", "Ctrl+U"},
            {pad->LeftAlign, "Aligné à gauche", "Ctrl+L"},
            {pad->CenterAlign, "Centré", "Ctrl+E"},
            {pad->RightAlign, "Aligné à droite", "Ctrl+R"},
            {pad->BulletsButton, "Puces", ""},
            {pad->ToolButton1, "Couleur du texte", ""},
            {pad->Superscript, "Exposant", ""},
            {pad->Subscript, "Indice", ""},
            {pad->ToolButton2, "Réduire le retrait", ""},
            {pad->ToolButton3, "Augmenter le retrait", ""}};
        for (const auto& [widget, tip, keys] : named) {
            QCOMPARE(widget->toolTip(),
                     *keys ? QString::fromUtf8(tip) + " (" + keys + ")" : QString::fromUtf8(tip));
            QCOMPARE(widget->accessibleName(), QString::fromUtf8(tip));
            if (auto* button = qobject_cast<QToolButton*>(widget)) {
                QVERIFY2(!button->icon().isNull(), tip);
                QCOMPARE(button->iconSize(), QSize(16, 16));
            }
        }
        QCOMPARE(pad->AlignGroup->id(pad->LeftAlign), 0);
        QCOMPARE(pad->AlignGroup->id(pad->RightAlign), 1);
        QCOMPARE(pad->AlignGroup->id(pad->CenterAlign), 2);
        // The dialogs.
        QCOMPARE(pad->OD()->defaultSuffix(), QString("rtf"));
        QCOMPARE(pad->SD()->defaultSuffix(), QString("rtf"));
        // Open offers both kinds the pad reads, whatever the case of the
        // extension; each filter is shown by its name.
        QVERIFY(pad->OD()->testOption(QFileDialog::HideNameFilterDetails));
        QCOMPARE(pad->OD()->nameFilters(),
                 (QStringList{"Textes (*.rtf *.txt) (*.[rR][tT][fF] *.[tT][xX][tT])",
                              "RTF (*.rtf) (*.[rR][tT][fF])", "Texte (*.txt) (*.[tT][xX][tT])",
                              "Tous les fichiers (*) (*)"}));
        for (const char* name : {"a.rtf", "B.RTF", "c.Txt", "d.txt"})
            QVERIFY2(QRegularExpression(QRegularExpression::wildcardToRegularExpression(
                                            name[2] == 'r' || name[2] == 'R' ? "*.[rR][tT][fF]"
                                                                             : "*.[tT][xX][tT]"))
                         .match(QString(name))
                         .hasMatch(),
                     name);
        QCOMPARE(pad->SD()->nameFilters(),
                 (QStringList{"Fichier texte enrichi (*.RTF)", "Tous les fichiers (*)"}));
        QVERIFY(!pad->SD()->testOption(QFileDialog::DontConfirmOverwrite));

        // In the module panel (265 pixels) every button of the rows shows.
        pad->resize(262, 400);
        QTest::qWait(20);
        for (QWidget* b : {pad->BoldButton, pad->ItalicButton, pad->UnderlineButton}) {
            QVERIFY(b->isVisible());
            QVERIFY(b->geometry().right() < pad->ToolBar1Row1->width());
        }
        QVERIFY(pad->ToolButton3->geometry().right() < pad->ToolBar1Row2->width());
        QVERIFY(pad->Fontname->width() >= 80);
    }

    void ctrlITwiceAndAltB() {
        Type("Bonjour");
        Select(0, 7);
        QTest::keyClick(Edit(), Qt::Key_I, Qt::ControlModifier);
        QVERIFY(At(0).fontItalic() && At(6).fontItalic());
        QVERIFY(pad->ItalicButton->isChecked());
        QCOMPARE(Edit()->toPlainText(), QString("Bonjour"));
        // The Tab that the key gives on some systems never reaches the text.
        QKeyEvent withTab(QEvent::KeyPress, Qt::Key_I, Qt::ControlModifier, QStringLiteral("\t"));
        QApplication::sendEvent(Edit(), &withTab);
        QVERIFY(!At(0).fontItalic());
        QVERIFY(!pad->ItalicButton->isChecked());
        QCOMPARE(Edit()->toPlainText(), QString("Bonjour"));
        QVERIFY(!pad->SkipNextChar);

        QTest::keyClick(Edit(), Qt::Key_B, Qt::AltModifier);
        QVERIFY(CharAt(3).bold);
        QVERIFY(pad->BoldButton->isChecked());
        QTest::keyClick(Edit(), Qt::Key_U, Qt::ControlModifier);
        QVERIFY(CharAt(3).underline);
        QCOMPARE(Edit()->toPlainText(), QString("Bonjour"));
        // The next character is typed as usual.
        Caret(7);
        Type("!");
        QCOMPARE(Edit()->toPlainText(), QString("Bonjour!"));
        // Without Ctrl or Alt the keys type.
        QTest::keyClick(Edit(), Qt::Key_B);
        QCOMPARE(Edit()->toPlainText(), QString("Bonjour!b"));
    }

    void caretEnteringACentredParagraph() {
        Type("Gauche");
        QTest::keyClick(Edit(), Qt::Key_Return);
        Type("Milieu");
        pad->CenterAlign->click();
        QCOMPARE(Block(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        Caret(2);
        QVERIFY(pad->LeftAlign->isChecked());
        QVERIFY(!pad->CenterAlign->isChecked() && !pad->RightAlign->isChecked());
        Caret(10);
        QVERIFY(pad->CenterAlign->isChecked());
        QVERIFY(!pad->LeftAlign->isChecked() && !pad->RightAlign->isChecked());
        pad->RightAlign->click();
        QCOMPARE(Block(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QVERIFY(!pad->CenterAlign->isChecked());
    }

    void indentsAndBullets() {
        Type("Un paragraphe");
        QTextBlockFormat f = Block(0).blockFormat();
        f.setTextIndent(5 * kPixelsPerPoint);
        QTextCursor(Block(0)).setBlockFormat(f);
        pad->ToolButton2->click();  // less indent at 5 points: no change
        QCOMPARE(Points(Block(0).blockFormat().textIndent()), 5.0);
        pad->ToolButton3->click();
        pad->ToolButton3->click();
        QCOMPARE(Points(Block(0).blockFormat().textIndent()), 25.0);
        pad->ToolButton2->click();
        QCOMPARE(Points(Block(0).blockFormat().textIndent()), 15.0);

        pad->BulletsButton->click();
        QVERIFY(Block(0).textList());
        QVERIFY(pad->BulletsButton->isChecked());
        QCOMPARE(Points(Block(0).blockFormat().leftMargin()), 10.0);
        pad->BulletsButton->click();  // bullets off take their indent along
        QVERIFY(!Block(0).textList());
        QVERIFY(!pad->BulletsButton->isChecked());
        QCOMPARE(Points(Block(0).blockFormat().leftMargin()), 0.0);
        QCOMPARE(Points(Block(0).blockFormat().textIndent()), 15.0);

        // Bullets on a selection of three paragraphs make one list.
        QTest::keyClick(Edit(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(Edit(), Qt::Key_Return);
        Type("deux");
        QTest::keyClick(Edit(), Qt::Key_Return);
        Type("trois");
        Select(0, Edit()->toPlainText().size());
        pad->BulletsButton->click();
        QVERIFY(Block(0).textList() && Block(0).textList() == Block(2).textList());
        QCOMPARE(Block(0).textList()->count(), 3);
    }

    void sizeBoxAppliesEachKeystroke() {
        Type("Taille");
        Select(0, 6);
        QLineEdit* box = pad->FontSize->lineEdit();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_1);
        QCOMPARE(At(0).fontPointSize(), 1.0);
        QTest::keyClick(box, Qt::Key_4);
        QCOMPARE(At(0).fontPointSize(), 14.0);
        QCOMPARE(At(5).fontPointSize(), 14.0);
        QCOMPARE(box->text(), QString("14"));
        QTest::keyClick(box, Qt::Key_A);
        QCOMPARE(box->text(), QString("14"));
        QCOMPARE(At(0).fontPointSize(), 14.0);
        // Choosing an entry of the list.
        pad->FontSize->setCurrentIndex(pad->FontSize->findText("36"));
        QCOMPARE(At(0).fontPointSize(), 36.0);
        // A typeface from the list, and typed text that names none.
        const QString family = pad->Fontname->itemText(0);
        pad->Fontname->lineEdit()->setText("Pas une police du tout");
        QVERIFY(At(0).fontFamilies().toStringList() != QStringList{"Pas une police du tout"});
        pad->Fontname->setCurrentIndex(0);
        emit pad->Fontname->textActivated(family);
        QCOMPARE(At(0).fontFamilies().toStringList(), QStringList{family});
        // Showing the selection's size applies nothing.
        Caret(0);
        QCOMPARE(pad->FontSize->currentText(), QString("36"));
    }

    void superscriptThenSubscript() {
        Type("x2");
        Select(1, 2);
        pad->FontSize->setCurrentIndex(pad->FontSize->findText("12"));
        pad->Superscript->click();
        QCOMPARE(VerticalOffset(At(1)), 4);
        QVERIFY(pad->Superscript->isChecked() && !pad->Subscript->isChecked());
        pad->Subscript->click();
        QCOMPARE(VerticalOffset(At(1)), -4);
        QVERIFY(pad->Subscript->isChecked());
        QVERIFY(!pad->Superscript->isChecked());
        QCOMPARE(At(1).fontPointSize(), 12.0);  // the size stays
        QCOMPARE(VerticalOffset(At(0)), 0);
        // 2 points down, drawn as a share of the 12-point height.
        QCOMPARE(At(1).baselineOffset(), -100.0 * 2 / 12);
        // A new size keeps the 2 points.
        pad->FontSize->setCurrentIndex(pad->FontSize->findText("20"));
        QCOMPARE(At(1).baselineOffset(), -100.0 * 2 / 20);
        pad->Subscript->click();
        QCOMPARE(VerticalOffset(At(1)), 0);
        QVERIFY(!pad->Subscript->isChecked() && !pad->Superscript->isChecked());
    }

    void colourFromTheDialog() {
        Type("rouge");
        Select(0, 5);
        (void)testing::OnNextModal([](QWidget* w) {
            auto* dialog = qobject_cast<QColorDialog*>(w);
            QVERIFY(dialog);
            dialog->setCurrentColor(QColor(200, 10, 20));
            static_cast<QDialog*>(dialog)->accept();
        });
        pad->ToolButton1->click();
        QCOMPARE(CharAt(2).color, (rtf::Color{200, 10, 20}));
        (void)testing::OnNextModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        Select(0, 2);
        pad->ToolButton1->click();
        QCOMPARE(CharAt(0).color, (rtf::Color{200, 10, 20}));
    }

    void saveOnANewTextAsksForAName() {
        Type("Note");
        auto shown = std::make_shared<QString>();
        AnswerFileDialog(Path("note"), shown);
        pad->BtnSave->click();
        QCOMPARE(*shown, QString("SD"));
        QCOMPARE(pad->FileName, (dir->path() / "note.rtf").string());
        QVERIFY(!pad->Modified());
        QCOMPARE(rtf::PlainText(rtf::Read(ReadFile(dir->path() / "note.rtf"))), "Note\n");
        // Then Enregistrer writes to the same file without a dialog.
        Type(" suite");
        QVERIFY(!testing::OpensModal([&] { pad->BtnSave->click(); }));
        QCOMPARE(rtf::PlainText(rtf::Read(ReadFile(dir->path() / "note.rtf"))), "Note suite\n");
    }

    void saveAsAsksBeforeReplacing() {
        const fs::path old = dir->path() / "ancien.rtf";
        std::ofstream(old) << "ancien";
        Type("nouveau");
        auto warning = std::make_shared<QString>();
        (void)testing::OnNextModal([&, warning](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            // The confirmation comes inside the dialog: refuse, then cancel.
            AnswerBox(QMessageBox::No, warning);
            testing::Choose(dialog, QString::fromStdString(old.string()));
            static_cast<QDialog*>(dialog)->accept();
            if (dialog->isVisible()) dialog->reject();
        });
        pad->BtnSaveAs->click();
        QVERIFY(!warning->isEmpty());
        QCOMPARE(ReadFile(old), std::string("ancien"));
        QVERIFY(pad->FileName.empty());
    }

    void newAfterEditsAsksAndForgetsTheName() {
        Type("brouillon");
        auto text = std::make_shared<QString>();
        AnswerBox(QMessageBox::No, text);
        pad->BtnNew->click();
        QCOMPARE(*text, QString("Enregistrer les modifications ?"));
        QVERIFY(Edit()->toPlainText().isEmpty());
        QVERIFY(pad->FileName.empty());
        QVERIFY(!pad->Modified());
        // Nothing to save: no question.
        QVERIFY(!testing::OpensModal([&] { pad->BtnNew->click(); }));
        // The next Enregistrer asks for a name.
        Type("x");
        auto shown = std::make_shared<QString>();
        AnswerFileDialog(QString(), shown);
        pad->BtnSave->click();
        QCOMPARE(*shown, QString("SD"));
    }

    void annulerAtEachPromptKeepsTheText() {
        pad->SaveToFile((dir->path() / "garde.rtf").string());
        Type("modifié");
        const QString text = Edit()->toPlainText();
        AnswerBox(QMessageBox::Cancel);
        pad->BtnNew->click();
        QCOMPARE(Edit()->toPlainText(), text);
        QVERIFY(pad->Modified());

        // Annuler before Ouvrir: no open dialog comes.
        auto after = std::make_shared<QString>();
        (void)testing::OnNextModal([after](QWidget* w) {
            AnswerFileDialog(QString(), after);
            qobject_cast<QMessageBox*>(w)->button(QMessageBox::Cancel)->click();
        });
        pad->BtnOpen->click();
        QTest::qWait(50);
        testing::CancelPendingAnswers();
        QVERIFY(after->isEmpty());
        QCOMPARE(Edit()->toPlainText(), text);

        AnswerBox(QMessageBox::Cancel);
        QVERIFY(!pad->CanClose());
        AnswerBox(QMessageBox::No);
        QVERIFY(pad->CanClose());
        // Oui saves to the known file.
        AnswerBox(QMessageBox::Yes);
        QVERIFY(pad->CanClose());
        QCOMPARE(rtf::PlainText(rtf::Read(ReadFile(dir->path() / "garde.rtf"))), "modifié\n");
        QVERIFY(!pad->Modified());
    }

    void ouiOnAnUnnamedTextThenCancellingTheDialogCancels() {
        Type("sans nom");
        auto shown = std::make_shared<QString>();
        (void)testing::OnNextModal([shown](QWidget* w) {
            AnswerFileDialog(QString(), shown);
            qobject_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click();
        });
        pad->BtnNew->click();
        QCOMPARE(*shown, QString("SD"));
        QCOMPARE(Edit()->toPlainText(), QString("sans nom"));
        QVERIFY(pad->Modified());
    }

    void openReadsRtfAndPlainText() {
        const fs::path rtfFile = dir->path() / "a.rtf";
        std::ofstream(rtfFile)
            << "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\qc\\b Titre\\b0\\par"
               "\\pard x\\up4 2\\up0\\par}";
        AnswerFileDialog(QString::fromStdString(rtfFile.string()));
        pad->BtnOpen->click();
        QCOMPARE(pad->FileName, rtfFile.string());
        QCOMPARE(Edit()->toPlainText(), QString("Titre\nx2"));
        QVERIFY(CharAt(0).bold);
        QCOMPARE(VerticalOffset(At(7)), 4);
        QVERIFY(!pad->Modified());
        QVERIFY(pad->CenterAlign->isChecked());  // the caret is in the title

        const fs::path textFile = dir->path() / "b.txt";
        std::ofstream(textFile) << "ligne 1\nligne 2\n";
        pad->LoadFromFile(textFile.string());
        QCOMPARE(Edit()->toPlainText(), QString("ligne 1\nligne 2"));
        QCOMPARE(pad->FileName, textFile.string());
    }

    void aFailedOpenChangesNothing() {
        Type("à garder");
        pad->SaveToFile((dir->path() / "garde.rtf").string());
        const fs::path locked = dir->path() / "verrou.rtf";
        std::ofstream(locked) << "{\\rtf1 secret}";
        ::chmod(locked.c_str(), 0);
        ::chmod(dir->path().c_str(), 0755);
        auto message = std::make_shared<QString>();
        auto name = std::make_shared<QString>();
        {
            testing::Unprivileged user;
            QVERIFY_THROWS_EXCEPTION(std::exception, pad->LoadFromFile(locked.string()));
            AnswerFileDialog(QString::fromStdString(locked.string()), nullptr,
                             [message, name] { AnswerBox(QMessageBox::Ok, message, name); });
            pad->BtnOpen->click();
        }
        QCOMPARE(*name, QString("DefaultErrorBox"));
        QVERIFY(message->contains("Impossible d'ouvrir le fichier"));
        QCOMPARE(Edit()->toPlainText(), QString("à garder"));
        QCOMPARE(pad->FileName, (dir->path() / "garde.rtf").string());
        QVERIFY_THROWS_EXCEPTION(std::exception,
                                 pad->LoadFromFile((dir->path() / "absent.rtf").string()));
        QCOMPARE(Edit()->toPlainText(), QString("à garder"));
    }

    void aFailedSaveKeepsFileTextAndName() {
        const fs::path folder = dir->path() / "lecture-seule";
        fs::create_directory(folder);
        const fs::path file = folder / "note.rtf";
        Type("première version");
        pad->SaveToFile(file.string());
        Type(" et la suite");
        ::chmod(dir->path().c_str(), 0755);
        ::chmod(folder.c_str(), 0555);
        auto message = std::make_shared<QString>();
        auto name = std::make_shared<QString>();
        {
            testing::Unprivileged user;
            AnswerBox(QMessageBox::Ok, message, name);
            pad->BtnSave->click();
        }
        ::chmod(folder.c_str(), 0755);
        QCOMPARE(*name, QString("DefaultErrorBox"));
        QVERIFY2(message->contains(QString::fromUtf8("accès refusé")), qPrintable(*message));
        QCOMPARE(rtf::PlainText(rtf::Read(ReadFile(file))), "première version\n");
        QCOMPARE(pad->FileName, file.string());
        QVERIFY(pad->Modified());
        QCOMPARE(Edit()->toPlainText(), QString::fromUtf8("première version et la suite"));

        // A write that fails halfway, through Enregistrer sous...: the
        // name stays the old one.
        const fs::path other = dir->path() / "autre.rtf";
        std::ofstream(other) << "autre";
        Type(QString(5000, 'x'));
        {
            testing::FileSizeLimit limit(1000);
            AnswerFileDialog(QString::fromStdString(other.string()), nullptr, [message, name] {
                // Replace it: yes; then the error.
                (void)testing::OnNextModal([message, name](QWidget* w) {
                    AnswerBox(QMessageBox::Ok, message, name);
                    qobject_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click();
                });
            });
            pad->BtnSaveAs->click();
        }
        QVERIFY2(message->contains("le fichier est trop grand"), qPrintable(*message));
        QCOMPARE(ReadFile(other), std::string("autre"));
        QCOMPARE(pad->FileName, file.string());
        QVERIFY(pad->Modified());
        // And a close then asks, as the text is still not saved.
        AnswerBox(QMessageBox::Cancel);
        QVERIFY(!pad->CanClose());
    }

    void everyFormattingSurvivesSaveAndOpen() {
        Type("Normal gras italique souligné rouge");
        QTest::keyClick(Edit(), Qt::Key_Return);
        Type("Centré x2 H2O");
        QTest::keyClick(Edit(), Qt::Key_Return);
        Type("Puce\tune");
        QTest::keyClick(Edit(), Qt::Key_Return, Qt::ShiftModifier);  // line break
        Type("suite");
        QTest::keyClick(Edit(), Qt::Key_Return);
        Type("Retrait à droite");
        Select(7, 11);
        pad->BoldButton->click();
        Select(12, 20);
        pad->ItalicButton->click();
        Select(21, 29);
        pad->UnderlineButton->click();
        Select(30, 35);
        QTextCharFormat red;
        red.setForeground(QColor(255, 0, 0));
        Edit()->mergeCurrentCharFormat(red);
        Select(0, 6);
        pad->FontSize->setCurrentIndex(pad->FontSize->findText("18"));
        pad->Fontname->setCurrentIndex(pad->Fontname->count() - 1);
        emit pad->Fontname->textActivated(pad->Fontname->itemText(pad->Fontname->count() - 1));
        Caret(40);
        pad->CenterAlign->click();
        Select(45, 46);
        pad->Superscript->click();
        Select(48, 49);
        pad->Subscript->click();
        Caret(52);
        pad->BulletsButton->click();
        Caret(Edit()->toPlainText().size());
        pad->RightAlign->click();
        pad->ToolButton3->click();

        const rtf::Document before = DocumentFromQt(*Doc());
        const std::string file = (dir->path() / "tout.rtf").string();
        pad->SaveToFile(file);
        TFrmRichEdit other;
        other.LoadFromFile(file);
        const rtf::Document after = DocumentFromQt(*other.RTFControl->document());
        QCOMPARE(after.paragraphs.size(), before.paragraphs.size());
        for (std::size_t i = 0; i < before.paragraphs.size(); ++i)
            QVERIFY2(after.paragraphs[i] == before.paragraphs[i], qPrintable(QString::number(i)));
        // What was applied is there.
        const auto& p = after.paragraphs;
        QCOMPARE(p[0].runs[0].format.halfPoints, 36);
        auto run = [&](const std::string& text) {
            for (const rtf::Run& r : p[0].runs)
                if (r.text == text) return r.format;
            return rtf::CharFormat{};
        };
        QVERIFY(run("gras").bold && run("italique").italic && run("souligné").underline);
        QCOMPARE(run("rouge").color, (rtf::Color{255, 0, 0}));
        QVERIFY(!run(" ").bold);
        QCOMPARE(p[1].format.alignment, rtf::Alignment::Center);
        QVERIFY(p[2].format.bullet);
        QCOMPARE(p[2].format.leftIndent, 200);
        QCOMPARE(rtf::PlainText(after),
                 std::string("Normal gras italique souligné rouge\nCentré x2 "
                             "H2O\nPuce\tune\nsuite\nRetrait à droite\n"));
        QCOMPARE(p[3].format.alignment, rtf::Alignment::Right);
        QCOMPARE(p[3].format.firstLineIndent, 200);
        QVERIFY(other.RTFControl->document()->findBlockByNumber(2).text().contains(QChar(0x2028)));
    }

    void printsTheWholeTextUnderItsTitle() {
        Type("Notes pour l'impression");
        QTest::keyClick(Edit(), Qt::Key_Return);
        Type(QString::fromUtf8("Deuxième ligne, accentuée"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = Path("impression.pdf");
        printer.setOutputFileName(pdf);
        pad->PrintOn(printer);
        QCOMPARE(printer.docName(), QString("Lorvane"));

        QProcess text;
        text.start("pdftotext", {"-enc", "UTF-8", pdf, "-"});
        QVERIFY2(text.waitForFinished(30000), "pdftotext (poppler-utils) is needed");
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(printed.contains("Notes pour l'impression"), qPrintable(printed));
        QVERIFY2(printed.contains(QString::fromUtf8("Deuxième ligne, accentuée")),
                 qPrintable(printed));
        QProcess info;
        info.start("pdfinfo", {pdf});
        QVERIFY(info.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression("Title:\\s+Lorvane")));
    }

    void printingWithoutAPrinterSaysSo() {
        if (!QPrinterInfo::defaultPrinter().isNull() ||
            !QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("this machine has a printer: the test would print");
        Type("rien");
        auto text = std::make_shared<QString>();
        auto name = std::make_shared<QString>();
        AnswerBox(QMessageBox::Ok, text, name);
        pad->BtnPrint->click();
        QCOMPARE(*name, QString("NoPrinterBox"));
        QCOMPARE(*text, QString::fromUtf8("Aucune imprimante n'est installée."));
    }

    void clipboardCommands() {
        Type("couper coller");
        Select(0, 7);
        pad->BtnCut->click();
        QCOMPARE(Edit()->toPlainText(), QString("coller"));
        Caret(6);
        pad->BtnPaste->click();
        QCOMPARE(Edit()->toPlainText(), QString("collercouper "));
        Select(0, 6);
        pad->BtnCopy->click();
        Caret(0);
        pad->BtnPaste->click();
        QCOMPARE(Edit()->toPlainText(), QString("collercollercouper "));
    }

    // --- The keyboard, the files and the limits ---------------------------

    QWidget* Focus() { return QApplication::focusWidget(); }
    QWidget* BackTab() {
        QTest::keyClick(Focus(), Qt::Key_Backtab, Qt::ShiftModifier);
        return Focus();
    }
    // A key as the reader presses it, in the pad's window (the offscreen
    // platform does not activate it again when a dialog closes).
    void Keys(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        if (!pad->isActiveWindow()) {
            pad->activateWindow();
            (void)QTest::qWaitForWindowActive(pad.get());
        }
        QTest::keyClick(Focus() ? Focus() : Edit(), static_cast<Qt::Key>(key), modifiers);
    }
    // The name field of a file dialog.
    static QLineEdit* NameField(QWidget* dialog) {
        return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    }
    static bool PopupShown() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowType() == Qt::Popup) return true;
        return false;
    }
    void Paste(QMimeData* data) {
        QApplication::clipboard()->setMimeData(data);
        Edit()->setFocus();
        Keys(Qt::Key_V);
    }

    void keyboardAloneReachesEveryCommand() {
        Type("Bonjour");
        Keys(Qt::Key_E);
        QVERIFY(pad->CenterAlign->isChecked());
        QCOMPARE(Block(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        Keys(Qt::Key_R);
        QCOMPARE(Block(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        Keys(Qt::Key_L);
        QVERIFY(pad->LeftAlign->isChecked());
        QCOMPARE(Edit()->toPlainText(), QString("Bonjour"));

        // Shift+Tab from the text goes back through every button and both
        // boxes, in screen order.
        Select(0, 7);
        const QWidget* order[] = {
            pad->BtnNew,          pad->BtnOpen,     pad->BtnSave,     pad->BtnSaveAs,
            pad->BtnPrint,        pad->BtnCut,      pad->BtnCopy,     pad->BtnPaste,
            pad->Fontname,        pad->FontSize,    pad->BoldButton,  pad->ItalicButton,
            pad->UnderlineButton, pad->LeftAlign,   pad->CenterAlign, pad->RightAlign,
            pad->BulletsButton,   pad->ToolButton1, pad->Superscript, pad->Subscript,
            pad->ToolButton2,     pad->ToolButton3};
        for (int i = std::size(order) - 1; i >= 0; --i) {
            QWidget* reached = BackTab();
            QVERIFY2(reached == order[i] || reached->parentWidget() == order[i],
                     qPrintable(order[i]->objectName() + " / " + reached->objectName()));
            if (order[i] == pad->CenterAlign) {
                // The shortcuts work from the buttons too, and Space presses.
                Keys(Qt::Key_E);
                QVERIFY(pad->CenterAlign->isChecked());
                Keys(Qt::Key_B);
                QVERIFY(CharAt(3).bold);
                QCOMPARE(Focus(), pad->CenterAlign);
            }
            if (order[i] == pad->BoldButton) {
                Keys(Qt::Key_Space, Qt::NoModifier);
                QVERIFY(!CharAt(3).bold);
            }
        }

        // Ctrl+S on a new text asks for a name, then saves without asking.
        auto shown = std::make_shared<QString>();
        AnswerFileDialog(Path("clavier"), shown);
        Keys(Qt::Key_S);
        QCOMPARE(*shown, QString("SD"));
        QCOMPARE(pad->FileName, (dir->path() / "clavier.rtf").string());
        Type("!");
        QVERIFY(!testing::OpensModal([&] { Keys(Qt::Key_S); }));
        QVERIFY(!pad->Modified());
        // Ctrl+O, Ctrl+Maj+S and Ctrl+N: in the tests of the dialogs and
        // of the file's name.
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            auto name = std::make_shared<QString>();
            AnswerBox(QMessageBox::Ok, nullptr, name);
            Keys(Qt::Key_P);
            QCOMPARE(*name, QString("NoPrinterBox"));
        }
    }

    void sizeBoxTypedIntoWithTheFocus() {
        Type("Texte");
        Select(0, 5);
        QLineEdit* box = pad->FontSize->lineEdit();
        box->setFocus();
        QVERIFY(box->hasFocus());
        box->selectAll();
        QTest::keyClick(box, '1');
        QCOMPARE(pad->FontSize->currentText(), QString("1"));
        QCOMPARE(At(2).fontPointSize(), 1.0);
        QTest::keyClick(box, '4');
        QCOMPARE(At(2).fontPointSize(), 14.0);
        box->selectAll();
        QTest::keyClick(box, '3');
        QCOMPARE(pad->FontSize->currentText(), QString("3"));
        QCOMPARE(At(2).fontPointSize(), 3.0);
    }

    // The button of a message box that says `text`.
    static QAbstractButton* BoxButton(QWidget* w, const QString& text) {
        for (QAbstractButton* b : qobject_cast<QMessageBox*>(w)->buttons())
            if (b->text() == text) return b;
        return nullptr;
    }

    void textFileStaysTextWithItsEncodingAndLineEnds() {
        // Windows-1252 with CRLF, as an older Windows program writes it.
        const fs::path text = dir->path() / "notes.txt";
        std::ofstream(text, std::ios::binary) << "Pri\xE8re du soir\r\n";
        pad->LoadFromFile(text.string());
        QTest::keyClick(Edit(), Qt::Key_End);
        Type(QString::fromUtf8(" et du matin"));
        QTest::keyClick(Edit(), Qt::Key_Return);
        Type(QString::fromUtf8("Amen, ô"));
        // No formatting: Enregistrer writes the text at once, as it came.
        QVERIFY(!testing::OpensModal([&] { Keys(Qt::Key_S); }));
        QCOMPARE(ReadFile(text), std::string("Pri\xE8re du soir et du matin\r\nAmen, \xF4\r\n"));
        QCOMPARE(pad->FileName, text.string());
        QVERIFY(!pad->Modified());

        // Enregistrer sous... a .txt name: a text file again, in the same
        // encoding and line ends.
        AnswerFileDialog(Path("copie.txt"));
        pad->BtnSaveAs->click();
        QCOMPARE(ReadFile(dir->path() / "copie.txt"), ReadFile(text));
        QCOMPARE(pad->FileName, (dir->path() / "copie.txt").string());

        // A character Windows-1252 has not: the file becomes UTF-8 rather
        // than lose it, and the reader is told.
        Type(QString::fromUtf8(" \u2192 \u05D0"));
        Keys(Qt::Key_S);
        QCOMPARE(ReadFile(dir->path() / "copie.txt"),
                 std::string("\xEF\xBB\xBFPrière du soir et du matin\r\nAmen, ô \u2192 "
                             "\u05D0\r\n"));
        QVERIFY2(pad->FileLabel->text().contains("UTF-8"), qPrintable(pad->FileLabel->text()));
    }

    void formattedTextFileAsksTextOrRtf() {
        const fs::path text = dir->path() / "notes.txt";
        std::ofstream(text, std::ios::binary) << "Mes notes\n";
        pad->LoadFromFile(text.string());
        QTest::keyClick(Edit(), Qt::Key_End);
        Type(" en plus");
        Select(0, 3);
        Keys(Qt::Key_B);
        // Three choices; Annuler keeps everything as it is.
        auto name = std::make_shared<QString>();
        auto buttons = std::make_shared<QStringList>();
        (void)testing::OnNextModal([name, buttons](QWidget* w) {
            *name = w->objectName();
            for (QAbstractButton* b : qobject_cast<QMessageBox*>(w)->buttons())
                *buttons << b->text();
            BoxButton(w, "Annuler")->click();
        });
        Keys(Qt::Key_S);
        QCOMPARE(*name, QString("SaveAsTextBox"));
        buttons->sort();
        QCOMPARE(*buttons,
                 (QStringList{
                     "Annuler", "Enregistrer en RTF...",
                     QString::fromUtf8("Enregistrer en texte (la mise en forme sera perdue)")}));
        QCOMPARE(ReadFile(text), std::string("Mes notes\n"));
        QVERIFY(pad->Modified());

        // Enregistrer en RTF...: a name is asked, the same with .rtf proposed;
        // the text file stays.
        auto proposed = std::make_shared<QString>();
        (void)testing::OnNextModal([proposed](QWidget* w) {
            (void)testing::OnNextModal([proposed](QWidget* dialog) {
                *proposed = NameField(dialog)->text();
                static_cast<QDialog*>(dialog)->accept();
            });
            BoxButton(w, "Enregistrer en RTF...")->click();
        });
        Keys(Qt::Key_S);
        QCOMPARE(*proposed, QString("notes.rtf"));
        QCOMPARE(ReadFile(text), std::string("Mes notes\n"));
        QCOMPARE(pad->FileName, (dir->path() / "notes.rtf").string());
        const rtf::Document saved = rtf::Read(ReadFile(dir->path() / "notes.rtf"));
        QCOMPARE(rtf::PlainText(saved), "Mes notes en plus\n");
        QVERIFY(saved.paragraphs[0].runs[0].format.bold);
        QVERIFY(!pad->Modified());

        // Enregistrer en texte: the text is kept, its formatting lost.
        pad->LoadFromFile(text.string());
        Select(0, 3);
        Keys(Qt::Key_B);
        Type("Nos");
        (void)testing::OnNextModal([](QWidget* w) {
            BoxButton(w, QString::fromUtf8("Enregistrer en texte (la mise en forme sera perdue)"))
                ->click();
        });
        Keys(Qt::Key_S);
        QCOMPARE(ReadFile(text), std::string("Nos notes\n"));
        QCOMPARE(pad->FileName, text.string());
        QVERIFY(!pad->Modified());
    }

    void tooLargeTextsAreRefusedAtOnce() {
        Type("à garder");
        pad->SaveToFile((dir->path() / "garde.rtf").string());
        {
            std::ofstream out(dir->path() / "lignes.txt");
            for (int i = 0; i < 60000; ++i)
                out << "ligne " << i << "\n";
            // The file of 500,000 short paragraphs that held the window.
            std::ofstream rtf(dir->path() / "gros.rtf");
            rtf << "{\\rtf1\\ansi ";
            for (int i = 0; i < 500000; ++i)
                rtf << "\\pard Paragraphe numero " << i << " du gros fichier\\par\n";
            rtf << "}";
        }
        auto message = std::make_shared<QString>();
        auto name = std::make_shared<QString>();
        AnswerFileDialog(Path("lignes.txt"), nullptr,
                         [message, name] { AnswerBox(QMessageBox::Ok, message, name); });
        Keys(Qt::Key_O);
        QCOMPARE(*name, QString("DefaultErrorBox"));
        QCOMPARE(*message,
                 QString::fromUtf8("Ce fichier est trop volumineux pour le bloc-notes (0,7 Mo, "
                                   "60\u00a0000 paragraphes ; au plus 1 Mo de texte ou "
                                   "50\u00a0000 paragraphes)."));
        QElapsedTimer time;
        time.start();
        QVERIFY_THROWS_EXCEPTION(std::exception,
                                 pad->LoadFromFile((dir->path() / "gros.rtf").string()));
        QVERIFY2(time.elapsed() < 3000, qPrintable(QString::number(time.elapsed())));
        QCOMPARE(Edit()->toPlainText(), QString("à garder"));
        QCOMPARE(pad->FileName, (dir->path() / "garde.rtf").string());

        // Pasted text too.
        auto* data = new QMimeData;
        data->setText(QString(1100000, u'x'));
        AnswerBox(QMessageBox::Ok, message, name);
        Paste(data);
        QCOMPARE(*name, QString("TooLargeBox"));
        QCOMPARE(*message, QString::fromUtf8("Ce texte est trop volumineux pour le bloc-notes "
                                             "(1,1 Mo, 1 paragraphe ; au plus 1 Mo de texte "
                                             "ou 50\u00a0000 paragraphes)."));
        QCOMPARE(Edit()->toPlainText(), QString("à garder"));
    }

    void pastedRichTextIsSavedAsItLooks() {
        // Verses copied from the reading pane: a link, sizes relative to
        // the page's and in pixels.
        auto* data = new QMimeData;
        data->setHtml(
            "<p><a href=\"x\"><span style=\"font-family:'Tahoma'; text-decoration: underline; "
            "color:#0000ff;\">Gn 1:1</span></a><span style=\"font-family:'Tahoma'; "
            "font-size:small; font-weight:700; color:#800000;\">1</span><span "
            "style=\"font-family:'Tahoma'; font-size:small;\"> Au commencement</span><span "
            "style=\"font-size:16px; font-style:italic;\"> Dieu</span></p>");
        data->setText("Gn 1:11 Au commencement Dieu");
        Paste(data);
        QCOMPARE(Edit()->toPlainText(), QString("Gn 1:11 Au commencement Dieu"));
        Caret(10);
        QCOMPARE(pad->FontSize->currentText(), QString("8"));
        QCOMPARE(pad->Fontname->currentText(), QString("Tahoma"));
        Caret(26);
        QCOMPARE(pad->FontSize->currentText(), QString("12"));
        QVERIFY(pad->ItalicButton->isChecked());

        const rtf::Document shown = DocumentFromQt(*Doc());
        const std::string file = (dir->path() / "versets.rtf").string();
        pad->SaveToFile(file);
        TFrmRichEdit other;
        other.LoadFromFile(file);
        QVERIFY(DocumentFromQt(*other.RTFControl->document()) == shown);
        const auto& runs = shown.paragraphs.at(0).runs;
        QCOMPARE(runs.size(), std::size_t(4));
        QVERIFY(runs[0].format.underline && runs[0].format.color == (rtf::Color{0, 0, 255}));
        QVERIFY(runs[1].format.bold && runs[1].format.color == (rtf::Color{128, 0, 0}));
        QCOMPARE(runs[2].format.halfPoints, 16);
        QCOMPARE(runs[2].format.font, std::string("Tahoma"));
        QCOMPARE(runs[3].format.halfPoints, 24);
        QVERIFY(runs[3].format.italic);
    }

    // A numbered list pasted from a word processor stays numbered, in the
    // pad and in its file.
    void pastedNumberedListStaysNumbered() {
        auto* data = new QMimeData;
        data->setHtml(
            "<ol><li>Premier point</li><li>Second point</li></ol><ul><li>Une "
            "puce</li></ul>");
        data->setText("Premier point\nSecond point\nUne puce");
        Paste(data);
        QVERIFY(Block(0).textList() && Block(0).textList() == Block(1).textList());
        QCOMPARE(Block(0).textList()->format().style(), QTextListFormat::ListDecimal);
        QCOMPARE(Block(2).textList()->format().style(), QTextListFormat::ListDisc);
        const std::string file = (dir->path() / "liste.rtf").string();
        pad->SaveToFile(file);
        const rtf::Document saved = rtf::Read(ReadFile(file));
        QVERIFY(saved.paragraphs.at(0).format.numbered && saved.paragraphs.at(1).format.numbered);
        QVERIFY(saved.paragraphs.at(2).format.bullet);
        TFrmRichEdit other;
        other.LoadFromFile(file);
        const QTextList* list = other.RTFControl->document()->firstBlock().textList();
        QVERIFY(list);
        QCOMPARE(list->format().style(), QTextListFormat::ListDecimal);
        QCOMPARE(list->count(), 2);
    }

    void fileDialogsStartWhereTheReaderWas() {
        // The documents folder, else the home folder.
        const QByteArray home = qgetenv("HOME");
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        const fs::path reader = dir->path() / "lecteur";
        fs::create_directories(reader);
        qputenv("HOME", QByteArray::fromStdString(reader.string()));
        qunsetenv("XDG_CONFIG_HOME");
        const QString noDocuments = TFrmRichEdit().OD()->directory().absolutePath();
        fs::create_directories(reader / "Documents");
        const QString documents = TFrmRichEdit().SD()->directory().absolutePath();
        qputenv("HOME", home);
        if (!config.isEmpty()) qputenv("XDG_CONFIG_HOME", config);
        QCOMPARE(noDocuments, QString::fromStdString(reader.string()));
        QCOMPARE(documents, QString::fromStdString((reader / "Documents").string()));

        // A path typed and Enter while the name completion lists the names
        // that begin so: the file opens, and no list stays on screen.
        fs::create_directories(dir->path() / "sous");
        std::ofstream(dir->path() / "sous" / "note.rtf") << "{\\rtf1 Note}";
        std::ofstream(dir->path() / "sous" / "note.rtf.bak") << "{\\rtf1 Copie}";
        const QString typed = Path("sous") + "/note.rtf";
        auto listed = std::make_shared<bool>(false);
        (void)testing::OnNextModal([typed, listed](QWidget* w) {
            QLineEdit* name = NameField(w);
            name->setFocus();
            QTest::keyClicks(name, typed, Qt::NoModifier, 20);
            *listed = PopupShown();
            QTest::keyClick(name, Qt::Key_Return);
        });
        Keys(Qt::Key_O);
        QVERIFY(*listed);
        QCOMPARE(pad->FileName, (dir->path() / "sous" / "note.rtf").string());
        QTest::qWait(300);
        QVERIFY(!PopupShown());

        // The next dialogs start there: Ouvrir with an empty name,
        // Enregistrer sous... with the file's name.
        auto folder = std::make_shared<QString>();
        auto name = std::make_shared<QString>();
        auto look = [folder, name](QWidget* w) {
            *folder = qobject_cast<QFileDialog*>(w)->directory().absolutePath();
            *name = NameField(w)->text();
            qobject_cast<QDialog*>(w)->reject();
        };
        (void)testing::OnNextModal(look);
        Keys(Qt::Key_O);
        QCOMPARE(*folder, Path("sous"));
        QCOMPARE(*name, QString());
        (void)testing::OnNextModal(look);
        Keys(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(*folder, Path("sous"));
        QCOMPARE(*name, QString("note.rtf"));
    }

    void thePadNamesItsFileAndItsChanges() {
        QCOMPARE(pad->FileLabel->text(), QString("Sans titre"));
        Type("x");
        QCOMPARE(pad->FileLabel->text(), QString::fromUtf8("Sans titre (modifié)"));
        pad->SaveToFile((dir->path() / "journal.rtf").string());
        QCOMPARE(pad->FileLabel->text(), QString("journal.rtf"));
        Type("y");
        QCOMPARE(pad->FileLabel->text(), QString::fromUtf8("journal.rtf (modifié)"));
        auto title = std::make_shared<QString>();
        (void)testing::OnNextModal([title](QWidget* w) {
            *title = w->windowTitle();
            qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click();
        });
        Keys(Qt::Key_N);
        QCOMPARE(*title, QString("Lorvane"));
        QCOMPARE(pad->FileLabel->text(), QString("Sans titre"));
    }

    void unsavedNotesAreKeptUnderTheirOwnName() {
        const std::string folder = dir->path().string();
        std::tm when{};
        when.tm_year = 2026 - 1900;
        when.tm_mon = 11;
        when.tm_mday = 8;
        when.tm_hour = 14;
        when.tm_min = 5;
        when.tm_isdst = -1;
        const std::time_t now = std::mktime(&when);
        QCOMPARE(pad->RescueNotes(folder, now), std::string());
        Type("Notes du soir");
        const std::string first = pad->RescueNotes(folder, now);
        QCOMPARE(first, folder + "/Notes non enregistrées 2026-12-08 14-05.rtf");
        QCOMPARE(rtf::PlainText(rtf::Read(ReadFile(first))), "Notes du soir\n");
        // Never over another file.
        QCOMPARE(pad->RescueNotes(folder, now),
                 folder + "/Notes non enregistrées 2026-12-08 14-05 (2).rtf");
        QCOMPARE(ReadFile(first).find("Notes du soir") != std::string::npos, true);
    }

    // Notes kept when a session was ended come back at the next start, once.
    void keptNotesComeBackAtTheNextStart() {
        const QString folder = QString::fromStdString(dir->path().string());
        const QString stamp = folder + "/config/derniere-session.txt";
        const std::time_t start = std::time(nullptr) - 3600;
        SessionGuard guard(pad.get());
        // A first start: nothing offered, the start noted.
        QCOMPARE(guard.OfferRescuedNotes(stamp, {folder}, start), std::string());
        QCOMPARE(ReadFile(PathFromQt(stamp)), std::to_string(start) + "\n");

        // Notes kept during that session, and older ones.
        Type("Notes du soir");
        const std::string kept = pad->RescueNotes(dir->path().string(), std::time(nullptr));
        const std::time_t later = std::time(nullptr) + 60;  // the next start
        Type(" et plus");
        const std::string old = pad->RescueNotes(dir->path().string(), start - 86400);
        const QDateTime before = QDateTime::fromSecsSinceEpoch(start - 86400);
        QFile oldFile(PathToQt(old));
        QVERIFY(oldFile.open(QIODevice::ReadWrite));
        QVERIFY(oldFile.setFileTime(before, QFileDevice::FileModificationTime));
        oldFile.close();
        auto unused = std::make_shared<QString>();
        AnswerBox(QMessageBox::No, unused);
        pad->BtnNewClick();

        QCOMPARE(guard.OfferRescuedNotes(stamp, {folder}, later), kept);
        QCOMPARE(pad->FileName, kept);
        QCOMPARE(Edit()->toPlainText(), QString("Notes du soir"));
        const QString notice =
            QString::fromUtf8("Notes gardées à la fin de la dernière session : « %1 ».")
                .arg(QFileInfo(PathToQt(kept)).fileName());
        QCOMPARE(pad->FileLabel->toolTip(), PathToQt(kept));
        QCOMPARE(pad->FileLabel->text(),
                 pad->FileLabel->fontMetrics().elidedText(notice, Qt::ElideMiddle,
                                                          std::max(20, pad->width() - 8)));
        Type("!");  // the notice gives way to the file's name
        QVERIFY(pad->FileLabel->text().contains(QString::fromUtf8("(modifié)")));

        // The next start offers nothing more; a damaged stamp neither.
        QCOMPARE(guard.OfferRescuedNotes(stamp, {folder}, later + 60), std::string());
        std::ofstream(PathFromQt(stamp)) << "hier";
        QCOMPARE(guard.OfferRescuedNotes(stamp, {folder}, later + 120), std::string());
        QCOMPARE(ReadFile(PathFromQt(stamp)), std::to_string(later + 120) + "\n");
    }
};

QTEST_MAIN(RichEditTest)
#include "RichEditTest.moc"
