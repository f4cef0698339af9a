// The Bibles a reader downloads in other forms than USFM (OSIS, Zefania,
// USFX), found from their content; the encodings of the sources; and the
// refusals that leave the current Bible in place.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>

#include "BibleForm.h"
#include "Cp1252.h"
#include "Fixtures.h"
#include "Import.h"
#include "Utf8.h"
#include "XmlFixtures.h"
#include "ZipFixtures.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;
using lorvane::testing::TempDir;
using lorvane::testing::XmlForm;

void Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

using lorvane::testing::Snapshot;

// A program folder with a small Bible, and the reader's downloads.
struct Program {
    Program() {
        lorvane::testing::WriteDataFolder(dir.path(), lorvane::testing::DataSet::Small());
        before = Snapshot(dir.path());
    }
    fs::path File(const std::string& name, const std::string& bytes) {
        Write(source.path() / name, bytes);
        return source.path() / name;
    }
    ImportResult Import(const std::string& name, const std::string& bytes) {
        return ImportBible(dir.appDir(), File(name, bytes));
    }
    // The import of these bytes fails with exactly `message`, the program
    // folder unchanged.
    void ExpectRefused(const std::string& bytes, const std::string& message) {
        try {
            Import("bible.xml", bytes);
            ADD_FAILURE() << "imported: " << bytes.substr(0, 200);
        } catch (const ImportError& e) {
            EXPECT_EQ(e.what(), message);
        }
        EXPECT_EQ(Snapshot(dir.path()), before);
    }
    TempDir dir, source;
    std::map<std::string, std::string> before;
};

BibleData Read(const std::string& name, const std::string& bytes, Report& report,
               BibleForm* form = nullptr, std::string* bibleName = nullptr) {
    UsfmImportOptions options;
    options.partial = true;
    FormBible read = ImportBibleFiles({{name, bytes}}, name, options, report);
    if (form) *form = read.form;
    if (bibleName) *bibleName = read.name;
    return std::move(read.bible);
}

std::string Verse(const BibleData& bible, int book, int chapter, int verse) {
    for (const auto& v : bible.verses)
        if (v.book == book && v.chapter == chapter && v.verse == verse) return std::string(v.text);
    return "(absent)";
}

std::vector<std::string> Headings(const BibleData& bible, int book, int chapter) {
    std::vector<std::string> out;
    for (const auto& h : bible.headings)
        if (h.book == book && h.chapter == chapter)
            out.push_back(std::string(1, h.kind) + std::to_string(h.verse) + " " +
                          std::string(h.title));
    return out;
}

TEST(BibleForms, EachFormOfTheLouisSegondReadsAsItsUsfm) {
    if (lorvane::testing::LsgDir().empty()) GTEST_SKIP() << "no Louis Segond folder";
    Report usfmReport;
    std::vector<SourceFile> files;
    for (auto& [path, bytes] : lorvane::testing::LsgEntries())
        files.push_back({path.substr(path.rfind('/') + 1), bytes});
    UsfmImportOptions options;
    options.partial = true;
    const BibleData usfm = ImportUsfmFiles(std::move(files), "LSG", options, usfmReport);

    const std::pair<XmlForm, BibleForm> forms[] = {{XmlForm::OsisMilestones, BibleForm::Osis},
                                                   {XmlForm::OsisContainers, BibleForm::Osis},
                                                   {XmlForm::Zefania, BibleForm::Zefania},
                                                   {XmlForm::Usfx, BibleForm::Usfx}};
    for (const auto& [xmlForm, expected] : forms) {
        SCOPED_TRACE(static_cast<int>(xmlForm));
        Report report;
        BibleForm form{};
        std::string name;
        const BibleData bible =
            Read("lsg.xml", lorvane::testing::LsgXml(xmlForm), report, &form, &name);
        EXPECT_EQ(form, expected);
        EXPECT_EQ(bible.verses.size(), usfm.verses.size());
        EXPECT_EQ(Verse(bible, 43, 3, 16), Verse(usfm, 43, 3, 16));
        EXPECT_EQ(Verse(bible, 19, 119, 176), Verse(usfm, 19, 119, 176));
        EXPECT_EQ(bible.books[0].name, usfm.books[0].name);
        EXPECT_EQ(bible.books[0].chapterCount, 50);
        ASSERT_EQ(bible.headings.size(), usfm.headings.size());
        // Zefania has one kind of heading.
        std::vector<std::string> headings = Headings(usfm, 1, 1);
        if (xmlForm == XmlForm::Zefania)
            for (std::string& h : headings)
                h[0] = 'E';
        EXPECT_EQ(Headings(bible, 1, 1), headings);
        // Notes other than cross-references leave no word in the text.
        EXPECT_EQ(Verse(bible, 1, 1, 1).find("note"), std::string::npos);
        if (xmlForm == XmlForm::Zefania) {
            EXPECT_EQ(name, "Louis Segond 1910");
            EXPECT_TRUE(bible.crossRefs.empty());
            // Its books' own names (bname) are kept beside the French ones.
            ASSERT_EQ(bible.ownBookNames.size(), 66u);
            EXPECT_EQ(bible.ownBookNames[42], "Jean");
        } else {
            EXPECT_EQ(bible.crossRefs.size(), usfm.crossRefs.size());
        }
    }
}

TEST(BibleForms, TheMarkupOfEachFormLeavesTheVerseTextHeadingsAndLinks) {
    Report report;
    BibleData osis =
        Read("a.osis",
             R"(<?xml version="1.0"?><osis><osisText><header><work><title>W</title></work></header>
<div type="book" osisID="Gen"><title type="main">GENÈSE</title>
<chapter sID="Gen.1" osisID="Gen.1"/>
<title>La création<note type="crossReference"><reference osisRef="Ps.33.6"/></note></title>
<verse sID="Gen.1.1" osisID="Gen.1.1"/><w lemma="strong:H7225" morph="x">Au commencement</w>,<note type="study">Hébreu : bereshit</note> Dieu<note type="crossReference"><reference osisRef="Ps.33.6">Ps 33:6</reference> <reference osisRef="John.1.1-John.1.3"/></note> créa les cieux.<verse eID="Gen.1.1"/>
<lg><l>La terre</l><l>était informe.</l></lg>
<verse osisID="Gen.1.2">Et <transChange type="added">la</transChange> lumière.</verse>
<chapter eID="Gen.1"/></div>
<div type="book" osisID="Ps"><chapter osisID="Ps.33"><verse osisID="Ps.33.6"/>Par la parole.</chapter></div>
<div type="book" osisID="JHN"><chapter osisID="JHN.1"><verse osisID="JHN.1.1">Au commencement.</verse><verse osisID="John.1.2">Elle.</verse><verse osisID="John.1.3">Tout.</verse></chapter></div>
</osisText></osis>)",
             report);
    // The <l> lines after the milestone's end belong to no verse.
    EXPECT_EQ(Verse(osis, 1, 1, 1), "Au commencement, Dieu créa les cieux.");
    EXPECT_EQ(Verse(osis, 1, 1, 2), "Et la lumière.");
    EXPECT_EQ(Verse(osis, 19, 33, 6), "Par la parole.");  // an empty element as a milestone
    EXPECT_EQ(Headings(osis, 1, 1), std::vector<std::string>{"E1 La création"});
    ASSERT_EQ(osis.crossRefs.size(), 2u);
    EXPECT_EQ(std::tie(osis.crossRefs[0].targetBook, osis.crossRefs[0].targetChapter,
                       osis.crossRefs[0].targetFirst),
              std::make_tuple(19, 33, 6));
    EXPECT_EQ(std::tie(osis.crossRefs[1].targetBook, osis.crossRefs[1].targetFirst,
                       osis.crossRefs[1].targetLast),
              std::make_tuple(43, 1, 3));

    std::string name;
    BibleData zefania =
        Read("bible.txt",
             "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- converti -->\n<XMLBIBLE>"
             "<INFORMATION><title>Bible Martin</title><rights>libre</rights></INFORMATION>"
             "<BIBLEBOOK bnumber=\"19\"><CHAPTER cnumber=\"23\"><CAPTION>Psaume de David."
             "</CAPTION><VERS vnumber=\"1\"><gr str=\"3068\">L'Éternel</gr> est mon "
             "<STYLE css=\"x\">berger</STYLE><NOTE>Ou : pasteur</NOTE>.<BR/>Je</VERS>"
             "<VERS vnumber=\"2\"><CAPTION>Suite</CAPTION>Il me fait reposer.</VERS>"
             "</CHAPTER><CHAPTER cnumber=\"151\"><VERS vnumber=\"1\">Je suis petit.</VERS>"
             "</CHAPTER></BIBLEBOOK><BIBLEBOOK bnumber=\"70\"><CHAPTER cnumber=\"1\">"
             "<VERS vnumber=\"1\">Tobie</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>",
             report, nullptr, &name);
    EXPECT_EQ(name, "Bible Martin");
    EXPECT_EQ(Verse(zefania, 19, 23, 1), "L'Éternel est mon berger. Je");
    EXPECT_EQ(Headings(zefania, 19, 23),
              (std::vector<std::string>{"E1 Psaume de David.", "E2 Suite"}));
    // Psalm 151 cannot be held, book 70 is outside the 66.
    EXPECT_EQ(zefania.verses.size(), 2u);
    EXPECT_EQ(zefania.books[18].chapterCount, 23);

    BibleData usfx =
        Read("GEN.xml",
             "<usfx><book id=\"GEN\"><id id=\"GEN\">LSG</id><h>Genèse</h><c id=\"1\"/><s>Titre"
             "</s><p><v id=\"1\"/><w s=\"H1\">Au</w> commencement<f caller=\"+\"><ft>note</ft></f>"
             "<x caller=\"-\"><xo>1:1</xo><xt>Jn 1:1.</xt></x>, Dieu.<ve/></p><v id=\"2\"/>La "
             "terre.<ve/></book><book id=\"jhn\"><c id=\"1\"/><v id=\"1\"/>Au commencement.<ve/>"
             "</book></usfx>",
             report);
    EXPECT_EQ(Verse(usfx, 1, 1, 1), "Au commencement, Dieu.");
    EXPECT_EQ(Verse(usfx, 1, 1, 2), "La terre.");
    EXPECT_EQ(Headings(usfx, 1, 1), std::vector<std::string>{"E1 Titre"});
    ASSERT_EQ(usfx.crossRefs.size(), 1u);
    EXPECT_EQ(usfx.crossRefs[0].targetBook, 43);
}

TEST(BibleForms, TheFormIsFoundFromTheContent) {
    EXPECT_EQ(DetectBibleForm("\xEF\xBB\xBF\\id GEN\n\\c 1"), BibleForm::Usfm);
    EXPECT_EQ(DetectBibleForm("<?xml version='1.0'?>\n<!DOCTYPE osis [ <!-- x --> ]>\n"
                              "<!-- c --><osis:osis xmlns:osis='u'>"),
              BibleForm::Osis);
    EXPECT_EQ(DetectBibleForm("  <XMLBIBLE xmlns:xsi=\"\">"), BibleForm::Zefania);
    EXPECT_EQ(DetectBibleForm(std::string("\xFF\xFE<\0u\0s\0f\0x\0>\0", 14)), BibleForm::Usfx);
    EXPECT_EQ(DetectBibleForm("<html><body>"), BibleForm::Unknown);
    EXPECT_EQ(DetectBibleForm("PK\x03\x04"), BibleForm::Unknown);
    EXPECT_EQ(DetectBibleForm("<osi"), BibleForm::Unknown);
}

// A Bible saved as UTF-16 by a word processor: either byte order, letters
// beyond the first plane kept, a damaged pair or a last odd byte never
// breaking the reading.
TEST(BibleForms, AUtf16FileIsReadInEitherByteOrder) {
    using namespace std::string_literals;
    EXPECT_EQ(DetectBibleForm("\xFE\xFF\0<\0o\0s\0i\0s\0>"s), BibleForm::Osis);
    EXPECT_EQ(DetectBibleForm("\xFE\xFF\0 \0\\\0i\0d\0 \0G"s), BibleForm::Usfm);
    EXPECT_FALSE(utf8::HasUtf16Mark("\xEF\xBB\xBF<osis>"));
    // "é", U+1D11E (a pair), a lone high half, and a byte left over.
    EXPECT_EQ(utf8::Utf16ToUtf8("\xFF\xFE\xE9\0\x34\xD8\x1E\xDD\x34\xD8z\0\x01"s),
              "\xC3\xA9\xF0\x9D\x84\x9E\xEF\xBF\xBDz");
    EXPECT_EQ(utf8::Utf16ToUtf8("\xFE\xFF\0A\xDC\0"s), "A\xEF\xBF\xBD");
}

TEST(BibleForms, APartialBibleOrAZippedOneSaysWhatItIs) {
    Program app;
    if (!lorvane::testing::LsgDir().empty()) {
        std::vector<std::string> read;
        ImportSteps steps;
        steps.reading = [&](const std::string& book) { read.push_back(book); };
        ImportResult nt = ImportBible(
            app.dir.appDir(),
            app.File("nt.osis", lorvane::testing::LsgXml(XmlForm::OsisMilestones, 40, 66)), steps);
        EXPECT_EQ(nt.books, 27);
        ASSERT_EQ(read.size(), 27u);  // the progress names each book as it is read
        EXPECT_EQ(read[0], "Matthieu");
        EXPECT_TRUE(ImportHeadline(nt).starts_with(
            "Bible importée depuis un fichier OSIS : 27 livres importés ; manquent : "
            "l'Ancien Testament (39 livres)."))
            << ImportHeadline(nt);
    }
    // Any name inside a zip: the content tells.
    const fs::path zip = app.source.path() / "martin.zip";
    lorvane::testing::WriteZip(
        zip, {{"lisez-moi.txt", "Bible Martin"},
              {"data/martin.bin",
               "<XMLBIBLE><INFORMATION><title>Martin</title></INFORMATION><BIBLEBOOK "
               "bnumber=\"1\"><CHAPTER cnumber=\"1\"><VERS vnumber=\"1\">Au commencement."
               "</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>"}});
    ImportResult r = ImportBible(app.dir.appDir(), zip);
    EXPECT_EQ(r.books, 1);
    EXPECT_TRUE(ImportHeadline(r).starts_with(
        "Bible importée depuis un fichier Zefania : 1 livre importé ;"))
        << ImportHeadline(r);
    EXPECT_EQ(r.name, "Martin");
    EXPECT_EQ(std::string(r.tables.VerseTable[r.tables.VerseLookup(1, 1, 1)].Text),
              "Au commencement.");
}

std::string Zefania(const std::string& chapter, const std::string& verse,
                    const std::string& more = "") {
    return "<XMLBIBLE><BIBLEBOOK bnumber=\"1\"><CHAPTER cnumber=\"" + chapter +
           "\"><VERS vnumber=\"" + verse + "\">Texte</VERS></CHAPTER>" + more +
           "</BIBLEBOOK></XMLBIBLE>";
}

TEST(BibleForms, DamagedFilesAreRefusedAndTheBibleKept) {
    Program app;
    std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE osis [\n<!ENTITY a \"ha\">\n";
    for (char c = 'b'; c <= 'k'; ++c) {
        const std::string prev(1, static_cast<char>(c - 1));
        laughs += std::string("<!ENTITY ") + c + " \"&" + prev + ";&" + prev + ";&" + prev + ";&" +
                  prev + ";&" + prev + ";&" + prev + ";&" + prev + ";&" + prev + ";&" + prev +
                  ";&" + prev + ";\">\n";
    }
    laughs += "]>\n<osis><verse osisID=\"Gen.1.1\">&k;</verse></osis>";
    const auto start = std::chrono::steady_clock::now();
    app.ExpectRefused(laughs,
                      "Ce fichier OSIS déclare des entités XML : Lorvane ne lit pas de tels "
                      "fichiers, par prudence.");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    app.ExpectRefused(
        "<osis><div type=\"book\" osisID=\"Gen\"><chapter osisID=\"Gen.1\">"
        "<verse osisID=\"Gen.1.1\">Au commencement",
        "Ce fichier OSIS est endommagé (ligne 1) : il s'arrête avant sa fin "
        "(téléchargement interrompu ?).");
    app.ExpectRefused("<usfx><book id=\"GEN\">\n<c id=\"1\"/><v id=\"1\"/>a</p></book></usfx>",
                      "Ce fichier USFX est endommagé (ligne 2) : son XML est mal formé, "
                      "colonne 27.");
    app.ExpectRefused(Zefania("1", "4294967296"),
                      "Ce fichier Zefania est endommagé (ligne 1) : le verset « 4294967296 » "
                      "n'existe dans aucune Bible.");
    app.ExpectRefused(Zefania("0", "1"),
                      "Ce fichier Zefania est endommagé (ligne 1) : le chapitre « 0 » de Genèse "
                      "n'existe pas.");
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "<CHAPTER cnumber=\"" + std::to_string(i % 2 + 1) + "\"/>";
    app.ExpectRefused(Zefania("1", "1", many),
                      "Ce fichier Zefania est endommagé (ligne 1) : Genèse a plus de 200 "
                      "chapitres.");
    app.ExpectRefused("<osis><osisText></osisText></osis>",
                      "Ce fichier OSIS ne contient aucun livre de la Bible.");
    app.ExpectRefused("<html><body>Une page</body></html>",
                      "Ce fichier ne contient aucune Bible que Lorvane sache lire : il faut un "
                      "fichier USFM, OSIS, Zefania ou USFX, ou une archive qui en contient.");
}

TEST(BibleForms, EncodingsAreReadAsTheFilesSayAndToldWhenGuessed) {
    Program app;
    // Windows-1252 said by the declaration.
    ImportResult r =
        app.Import("latin.xml",
                   "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><XMLBIBLE><BIBLEBOOK "
                   "bnumber=\"1\"><CHAPTER cnumber=\"1\"><VERS vnumber=\"1\">Dieu cr\xE9"
                   "a.</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>");
    EXPECT_EQ(std::string(r.tables.VerseTable[r.tables.VerseLookup(1, 1, 1)].Text), "Dieu créa.");
    EXPECT_EQ(ImportRemarks(r.report), "");

    // Said nowhere, not UTF-8: Windows-1252, and the reader is told.
    r = app.Import("GEN.usfm",
                   "\\id GEN\n\\c 1\n\\p\n\\v 1 Dieu cr\xE9"
                   "a \x93les cieux\x94.\n");
    EXPECT_EQ(std::string(r.tables.VerseTable[r.tables.VerseLookup(1, 1, 1)].Text),
              "Dieu créa “les cieux”.");
    EXPECT_EQ(ImportRemarks(r.report),
              "Le fichier « GEN.usfm » ne dit pas son encodage et n'est pas en UTF-8 : il a été "
              "lu en Windows-1252.");

    // UTF-8 with one stray byte: the rest stays UTF-8.
    r = app.Import("GEN.usfm",
                   "\\id GEN\n\\c 1\n\\p\n\\v 1 Dieu créa.\n\\v 2 La terre\xA0était.\n");
    EXPECT_EQ(std::string(r.tables.VerseTable[r.tables.VerseLookup(1, 1, 1)].Text), "Dieu créa.");
    EXPECT_EQ(ImportRemarks(r.report),
              "1 octet hors UTF-8 a été lu en Windows-1252 (« GEN.usfm », ligne 5).");

    // Letters Windows-1252 lacks are kept as written, and nothing is said.
    std::string verses;
    for (int v = 1; v <= 40; ++v)
        verses += "\\v " + std::to_string(v) + " Et Dieu dit : Que la lumière soit.\n";
    r = app.Import("GEN.usfm", "\\id GEN\n\\c 1\n\\p\n" + verses + "\\v 41 Rīga.\n");
    EXPECT_EQ(std::string(r.tables.VerseTable[r.tables.VerseLookup(1, 1, 41)].Text), "Rīga.");
    EXPECT_EQ(ImportRemarks(r.report), "");

    // So is a Bible in another script.
    r = app.Import("bible.xml",
                   "<XMLBIBLE><BIBLEBOOK bnumber=\"43\"><CHAPTER cnumber=\"1\"><VERS "
                   "vnumber=\"1\">太初有道，道與神同在，道就是神。</VERS></CHAPTER>"
                   "</BIBLEBOOK></XMLBIBLE>");
    EXPECT_EQ(std::string(r.tables.VerseTable[r.tables.VerseLookup(43, 1, 1)].Text),
              "太初有道，道與神同在，道就是神。");
}

std::string Text(const ImportResult& r, int book, int chapter, int verse) {
    return std::string(r.tables.VerseTable[r.tables.VerseLookup(book, chapter, verse)].Text);
}

TEST(BibleForms, AFileIsReadInTheEncodingItSaysAndItsBadBytesCounted) {
    Program app;
    // Said UTF-8, a few accents, more bad bytes: UTF-8 still, each bad byte
    // replaced where it stands.
    ImportResult r = app.Import(
        "bible.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osis><div type=\"book\" osisID=\"Gen\">\n"
        "<chapter osisID=\"Gen.1\"><verse osisID=\"Gen.1.1\">Dieu créa.</verse>\n"
        "<verse osisID=\"Gen.1.2\">La terre \xE9tait \xE0 \xE9tendre.</verse>"
        "</chapter></div></osis>");
    EXPECT_EQ(Text(r, 1, 1, 1), "Dieu créa.");
    EXPECT_EQ(Text(r, 1, 1, 2), "La terre \uFFFDtait \uFFFD \uFFFDtendre.");
    EXPECT_EQ(
        ImportRemarks(r.report),
        "3 octets hors UTF-8 ont été remplacés par « \uFFFD » (le premier dans « bible.xml », "
        "ligne 4).");

    const std::string zefania =
        "<XMLBIBLE><BIBLEBOOK bnumber=\"1\"><CHAPTER cnumber=\"1\"><VERS vnumber=\"1\">Dieu "
        "cr\xE9"
        "a.</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>";
    const std::string latin = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";
    // A UTF-8 mark and a Latin-1 declaration: the bytes say which is true.
    r = app.Import("latin.xml", "\xEF\xBB\xBF" + latin + zefania);
    EXPECT_EQ(Text(r, 1, 1, 1), "Dieu créa.");
    EXPECT_EQ(ImportRemarks(r.report),
              "Le fichier « latin.xml » porte la marque de l'UTF-8 mais se dit en Latin-1, ce "
              "qu'il est : il a été lu en Latin-1.");
    // Said Latin-1, UTF-8 with accents: read as UTF-8, and said.
    std::string utf8 = zefania;
    utf8.replace(utf8.find('\xE9'), 1, "é");
    for (const std::string& mark : {std::string(), std::string("\xEF\xBB\xBF")}) {
        r = app.Import("faux.xml", mark + latin + utf8);
        EXPECT_EQ(Text(r, 1, 1, 1), "Dieu créa.");
        EXPECT_EQ(ImportRemarks(r.report),
                  "Le fichier « faux.xml » se dit en Latin-1 mais il est en UTF-8 : il a été lu en "
                  "UTF-8.");
    }
    // Said UTF-8 without one letter of it: Windows-1252 under a wrong name.
    r = app.Import("GEN.usfm",
                   "\\id GEN\n\\ide UTF-8\n\\c 1\n\\p\n\\v 1 Dieu cr\xE9"
                   "a \x93les cieux\x94.\n");
    EXPECT_EQ(Text(r, 1, 1, 1), "Dieu créa “les cieux”.");
    EXPECT_EQ(ImportRemarks(r.report),
              "Le fichier « GEN.usfm » se dit en UTF-8 mais il est en Windows-1252 : il a été lu "
              "en Windows-1252.");
}

TEST(BibleForms, VersesNumberedZeroOrBelowOrNotAtAllAreToldWithTheirPlace) {
    Program app;
    ImportResult r = app.Import(
        "ps.xml",
        "<XMLBIBLE><BIBLEBOOK bnumber=\"19\"><CHAPTER cnumber=\"3\"><VERS vnumber=\"0\">Psaume "
        "de David.</VERS><VERS vnumber=\"1\">Éternel.</VERS><VERS vnumber=\"-1\">Hors.</VERS>"
        "<VERS vnumber=\"\">Sans.</VERS><VERS vnumber=\"2\">Combien.</VERS></CHAPTER>"
        "</BIBLEBOOK></XMLBIBLE>");
    EXPECT_EQ(Text(r, 19, 3, 1), "Éternel.");
    EXPECT_EQ(Text(r, 19, 3, 2), "Combien.");
    EXPECT_EQ(ImportRemarks(r.report),
              "Psaumes 3 : un verset numéroté 0 a été laissé de côté.\n"
              "Psaumes 3 : un verset numéroté au-dessous de 0 a été laissé de côté.\n"
              "Psaumes 3 : un verset sans numéro a été laissé de côté.");

    // The same in USFM, counted when many; the book named as the book list
    // names it.
    r = app.Import("ISA.usfm",
                   "\\id ISA\n\\c 1\n\\p\n\\v 1 Vision.\n\\c 2\n\\p\n\\v 0 Titre.\n\\v 1 "
                   "Parole.\n\\v 0 Encore.\n\\v -1 Hors.\n\\v 2 Il arrivera.\n");
    EXPECT_EQ(Text(r, 23, 2, 1), "Parole.");
    EXPECT_EQ(Text(r, 23, 2, 2), "Il arrivera.");
    EXPECT_EQ(ImportRemarks(r.report),
              "2 versets numérotés 0 ont été laissés de côté (le premier en Ésaïe 2).\n"
              "Ésaïe 2 : un verset numéroté au-dessous de 0 a été laissé de côté.");
}

TEST(BibleForms, NestingPastAThousandLevelsIsRefusedBeforeItFillsTheMemory) {
    Program app;
    auto nested = [](const std::string& open, const std::string& close, int levels) {
        std::string out;
        for (int i = 0; i < levels; ++i)
            out += open;
        out += "mot";
        for (int i = 0; i < levels; ++i)
            out += close;
        return out;
    };
    // Real files nest a few levels: a hundred pass.
    ImportResult r =
        app.Import("bible.xml",
                   "<osis><div type=\"book\" osisID=\"Gen\"><chapter osisID=\"Gen.1\"><verse "
                   "osisID=\"Gen.1.1\">" +
                       nested("<hi>", "</hi>", 100) + "</verse></chapter></div></osis>");
    EXPECT_EQ(Text(r, 1, 1, 1), "mot");

    const auto start = std::chrono::steady_clock::now();
    app.before = Snapshot(app.dir.path());
    app.ExpectRefused(
        "<osis><div type=\"book\" osisID=\"Gen\"><chapter osisID=\"Gen.1\"><verse "
        "osisID=\"Gen.1.1\">" +
            nested("<hi>", "</hi>", 100000) + "</verse></chapter></div></osis>",
        "Ce fichier OSIS est endommagé (ligne 1) : ses éléments s'emboîtent sur "
        "plus de mille niveaux.");
    app.ExpectRefused(
        "<XMLBIBLE><BIBLEBOOK bnumber=\"1\"><CHAPTER cnumber=\"1\"><VERS "
        "vnumber=\"1\">" +
            nested("<STYLE>", "</STYLE>", 1001) + "</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>",
        "Ce fichier Zefania est endommagé (ligne 1) : ses éléments s'emboîtent sur "
        "plus de mille niveaux.");
    // USFX is named from its whole file: the name's reader stops there too.
    app.ExpectRefused("<usfx><book id=\"GEN\"><id>" + nested("<w>", "</w>", 100000) +
                          "</id><c id=\"1\"/><v id=\"1\"/>mot</book></usfx>",
                      "Ce fichier USFX est endommagé (ligne 1) : ses éléments s'emboîtent sur "
                      "plus de mille niveaux.");
    try {
        app.Import("GEN.usfm", "\\id GEN\n\\c 1\n\\p\n\\v 1 " + nested("\\+it ", "\\+it*", 1001));
        ADD_FAILURE() << "imported";
    } catch (const ImportError& e) {
        EXPECT_STREQ(e.what(),
                     "Le fichier USFM « GEN.usfm » est endommagé (ligne 4) : ses marqueurs de "
                     "caractères s'emboîtent sur plus de mille niveaux.");
    }
    EXPECT_EQ(Snapshot(app.dir.path()), app.before);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(BibleForms, TheHeadlineSaysOneFileOrSeveral) {
    Program app;
    ImportResult r = app.Import("JHN.usfm", "\\id JHN\n\\c 1\n\\p\n\\v 1 Au commencement.\n");
    EXPECT_TRUE(ImportHeadline(r).starts_with(
        "Bible importée depuis un fichier USFM : 1 livre importé ; manquent : "))
        << ImportHeadline(r);
    app.File("ACT.usfm", "\\id ACT\n\\c 1\n\\p\n\\v 1 Théophile.\n");
    r = app.Import("JHN.usfm", "\\id JHN\n\\c 1\n\\p\n\\v 1 Au commencement.\n");
    EXPECT_TRUE(ImportHeadline(r).starts_with(
        "Bible importée depuis des fichiers USFM : 2 livres importés ; manquent : "))
        << ImportHeadline(r);
}

TEST(BibleForms, TwoSetsInOneFolderOrABookTwiceAreToldApart) {
    Program app;
    TempDir folder;
    Write(folder.path() / "02-GENfraLSG.usfm", "\\id GEN\n\\c 1\n\\v 1 Au commencement.\n");
    Write(folder.path() / "03-EXOfraLSG.usfm", "\\id EXO\n\\c 1\n\\v 1 Voici les noms.\n");
    Write(folder.path() / "02-GENengwebp.usfm", "\\id GEN\n\\c 1\n\\v 1 In the beginning.\n");
    ImportResult r = ImportBible(app.dir.appDir(), folder.path() / "02-GENfraLSG.usfm");
    EXPECT_EQ(r.books, 2);
    EXPECT_EQ(std::string(r.tables.VerseTable[r.tables.VerseLookup(1, 1, 1)].Text),
              "Au commencement.");
    r = ImportBible(app.dir.appDir(), folder.path() / "02-GENengwebp.usfm");
    EXPECT_EQ(r.books, 1);
    EXPECT_EQ(ImportRemarks(r.report), "");

    const fs::path zip = app.source.path() / "deux.zip";
    lorvane::testing::WriteZip(zip, {{"a/GEN.usfm", "\\id GEN\n\\c 1\n\\v 1 Au commencement.\n"},
                                     {"b/Genesis.usfm", "\\id GEN\n\\c 1\n\\v 1 In the.\n"}});
    r = ImportBible(app.dir.appDir(), zip);
    EXPECT_EQ(ImportRemarks(r.report),
              "Genèse est donnée deux fois : « GEN.usfm » gardé, « Genesis.usfm » laissé de "
              "côté.");
}

}  // namespace
}  // namespace lorvane::importer

namespace lorvane::importer {
namespace {

// Hostile text in a file that says it is UTF-8: each kind is one line of the
// summary, its verse tamed, its neighbours untouched.
TEST(BibleForms, HostileTextIsToldOnceAndStaysInItsVerse) {
    Program app;
    std::string marks = "a";
    for (int i = 0; i < 100000; ++i)
        marks += "\u0301";
    const std::string usfm =
        "\\id GEN\n\\ide UTF-8\n\\c 1\n\\p\n"
        "\\v 1 Avant.\n"
        "\\v 2 Trop\xC0\xAF long.\n"     // an overlong '/'
        "\\v 3 Vide\xEF\xB7\x90 ici.\n"  // U+FDD0, a noncharacter
        "\\v 4 " +
        marks +
        "\n"
        "\\v 5 \u202Eà l'envers\n"  // an override left open
        "\\v 6 क्\u200Dष\n"          // a zero-width joiner
        "\\v 7 Après.\n";
    ImportResult r = app.Import("GEN.usfm", usfm);
    auto text = [&](int v) {
        return std::string(r.tables.VerseTable[r.tables.VerseLookup(1, 1, v)].Text);
    };
    EXPECT_EQ(text(1), "Avant.");
    EXPECT_EQ(text(2), "Trop\uFFFD\uFFFD long.");
    EXPECT_EQ(text(3), "Vide ici.");
    EXPECT_EQ(text(4).size(), 60u);  // á and 29 marks
    EXPECT_EQ(text(5), "\u202Eà l'envers");
    EXPECT_EQ(text(6), "क्\u200Dष");
    EXPECT_EQ(text(7), "Après.");
    const std::string remarks = ImportRemarks(r.report);
    EXPECT_NE(remarks.find("2 octets hors UTF-8 ont été remplacés par « \uFFFD » (le premier dans "
                           "« GEN.usfm », ligne 6)."),
              std::string::npos)
        << remarks;
    EXPECT_NE(remarks.find("Un caractère réservé (non-caractère Unicode) a été retiré (le premier "
                           "en GEN 1:3)."),
              std::string::npos)
        << remarks;
    EXPECT_NE(remarks.find("99970 signes diacritiques au-delà de 30 sur une même lettre ont été "
                           "retirés (le premier en GEN 1:4)."),
              std::string::npos)
        << remarks;
    EXPECT_NE(remarks.find("1 marque de sens d'écriture a été gardée, sans effet au-delà de son "
                           "verset"),
              std::string::npos)
        << remarks;
    EXPECT_EQ(remarks.find('?'), std::string::npos) << remarks;
}

}  // namespace
}  // namespace lorvane::importer
