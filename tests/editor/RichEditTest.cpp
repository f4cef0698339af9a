#include <sys/stat.h>

#include <QApplication>
#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "Fixtures.h"
#include "FrRichEdit.h"
#include "ModalDriver.h"
#include "Rtf.h"
#include "RtfQt.h"
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
        QCOMPARE(Doc()->defaultFont().family(), QString("Arial"));
        QCOMPARE(Doc()->defaultFont().pointSize(), 10);
        QCOMPARE(pad->FontSize->currentText(), QString("10"));
        QCOMPARE(pad->Fontname->currentText(), QString("Arial"));
        QVERIFY(pad->LeftAlign->isChecked());
        QCOMPARE(Edit()->lineWrapMode(), QTextEdit::WidgetWidth);
        QCOMPARE(pad->Fontname->width(), 145);
        QCOMPARE(pad->FontSize->width(), 48);
        QCOMPARE(pad->FontSize->count(), 16);
        QVERIFY(pad->Fontname->count() > 0);
        for (int i = 1; i < pad->Fontname->count(); ++i)
            QVERIFY(QString::localeAwareCompare(pad->Fontname->itemText(i - 1),
                                                pad->Fontname->itemText(i)) <= 0);
        // Every button and both lists speak their tooltip.
        const std::pair<QWidget*, const char*> named[] = {
            {pad->BtnNew, "Nouveau"},
            {pad->BtnOpen, "Ouvrir"},
            {pad->BtnSave, "Enregistrer"},
            {pad->BtnSaveAs, "Enregistrer sous..."},
            {pad->BtnPrint, "Imprimer"},
            {pad->BtnCut, "Couper"},
            {pad->BtnCopy, "Copier"},
            {pad->BtnPaste, "Coller"},
            {pad->Fontname, "Police"},
            {pad->FontSize, "Taille"},
            {pad->BoldButton, "Gras"},
            {pad->ItalicButton, "Italique"},
            {pad->UnderlineButton, "Souligné"},
            {pad->LeftAlign, "Aligné à gauche"},
            {pad->CenterAlign, "Centré"},
            {pad->RightAlign, "Aligné à droite"},
            {pad->BulletsButton, "Puces"},
            {pad->ToolButton1, "Couleur du texte"},
            {pad->Superscript, "Exposant"},
            {pad->Subscript, "Indice"},
            {pad->ToolButton2, "Réduire le retrait"},
            {pad->ToolButton3, "Augmenter le retrait"}};
        for (const auto& [widget, tip] : named) {
            QCOMPARE(widget->toolTip(), QString::fromUtf8(tip));
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
        QCOMPARE(pad->OD()->nameFilters(), QStringList{"Fichier texte enrichi (*.RTF)"});
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
        pad->BulletsButton->click();  // bullets off keeps 10 points
        QVERIFY(!Block(0).textList());
        QVERIFY(!pad->BulletsButton->isChecked());
        QCOMPARE(Points(Block(0).blockFormat().leftMargin()), 10.0);
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
};

QTEST_MAIN(RichEditTest)
#include "RichEditTest.moc"
