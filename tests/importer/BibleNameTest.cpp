// The name and abbreviation under which the reader finds an imported Bible:
// from a DBL bundle's metadata, the \id lines of a USFM set, its front
// matter, the header of an XML Bible, or the file's own name.

#include <gtest/gtest.h>

#include <fstream>

#include "BibleForm.h"
#include "BibleName.h"
#include "Fixtures.h"
#include "Import.h"
#include "ZipFixtures.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;
using lorvane::testing::TempDir;
using lorvane::testing::TinyBook;
using lorvane::testing::WriteZip;
using lorvane::testing::ZipEntries;

void Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// A book of one chapter whose \id line says `description`.
std::string Book(const std::string& code, const std::string& description,
                 const std::string& more = "") {
    std::string book = TinyBook(code);
    return "\\id " + code + (description.empty() ? "" : " " + description) + "\n" + more +
           book.substr(book.find('\n') + 1);
}

// A program folder holding a small Bible, and the reader's downloads.
struct Program {
    Program() { lorvane::testing::WriteDataFolder(dir.path(), lorvane::testing::DataSet::Small()); }
    BibleNaming Import(const fs::path& from) {
        const ImportResult r = ImportBible(dir.appDir(), from);
        EXPECT_EQ(lorvane::testing::ReadFile(dir.path() / "data" / kAbbreviationFile),
                  r.abbreviation + "\n");
        return {r.name, r.abbreviation};
    }
    BibleNaming ImportZip(const std::string& name, const ZipEntries& entries) {
        WriteZip(downloads.path() / name, entries);
        return Import(downloads.path() / name);
    }
    TempDir dir, downloads;
};

std::string Metadata(const std::string& identification) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<DBLMetadata id=\"2880c78491b2f8ce\" revision=\"4\" type=\"text\">\n"
           "  <identification>\n" +
           identification +
           "  </identification>\n"
           "  <language><iso>fra</iso><name>French</name></language>\n"
           "</DBLMetadata>\n";
}

std::size_t Characters(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        n += (c & 0xC0) != 0x80;
    return n;
}

TEST(BibleName, ADblBundleNamesItselfInItsLocalForms) {
    Program app;
    const std::string usfm = "release/USFM/";
    const BibleNaming local = app.ImportZip(
        "2880c78491b2f8ce.zip",
        {{"metadata.xml",
          Metadata("<name>French Louis Segond 1910</name><nameLocal>La Sainte Bible, Louis "
                   "Segond 1910</nameLocal><abbreviation>FLS</abbreviation>"
                   "<abbreviationLocal>LSG</abbreviationLocal>")},
         {usfm + "GEN.usfm", Book("GEN", "Autre nom")},
         {"release/USX_1/GEN.usx", "<usx><book code=\"GEN\"/></usx>"}});
    EXPECT_EQ(local.name, "La Sainte Bible, Louis Segond 1910");
    EXPECT_EQ(local.abbreviation, "LSG");

    // Without local forms, the others; a metadata.xml deeper in the bundle
    // (a book's own) does not outweigh the root's.
    const BibleNaming plain = app.ImportZip(
        "bundle.zip",
        {{usfm + "metadata.xml", Metadata("<name>Pas celle-ci</name>")},
         {"metadata.xml", Metadata("<name>World English Bible</name><nameLocal> </nameLocal>"
                                   "<abbreviation>WEB</abbreviation>")},
         {usfm + "GEN.usfm", Book("GEN", "")}});
    EXPECT_EQ(plain.name, "World English Bible");
    EXPECT_EQ(plain.abbreviation, "WEB");

    // A bundle unpacked by the reader, who picks the folder of the books or
    // one of them: the metadata sits two folders above.
    TempDir unpacked;
    Write(unpacked.path() / "metadata.xml", Metadata("<nameLocal>Bible Darby</nameLocal>"));
    Write(unpacked.path() / usfm / "GEN.usfm", Book("GEN", ""));
    EXPECT_EQ(app.Import(unpacked.path() / usfm).name, "Bible Darby");
    EXPECT_EQ(app.Import(unpacked.path() / usfm / "GEN.usfm").abbreviation, "BD");
}

TEST(BibleName, AMetadataFileThatIsNoBundlesIsPassedOver) {
    for (const std::string& bytes :
         {std::string("<project><identification><name>Autre</name></identification></project>"),
          Metadata("<name>Coupé"), Metadata("<name>&nom;</name>"),
          "<!DOCTYPE d [<!ENTITY n \"Nom\">]>" + Metadata("<name>&n;</name>"),
          Metadata("<language><name>French</name></language>")})
        EXPECT_EQ(ParseBundleMetadata(bytes).name, "") << bytes;

    Program app;
    EXPECT_EQ(app.ImportZip("fraDBY_usfm.zip", {{"metadata.xml", Metadata("<name>Coupé")},
                                                {"GEN.usfm", Book("GEN", "")}})
                  .name,
              "fraDBY");
}

TEST(BibleName, TheIdLinesNameTheBibleWhenMostBooksAgree) {
    Program app;
    const BibleNaming lsg =
        app.ImportZip("bible.zip", {{"GEN.usfm", Book("GEN", "Louis Segond 1910")},
                                    {"EXO.usfm", Book("EXO", "Louis Segond 1910")},
                                    {"LEV.usfm", Book("LEV", "Lévitique : brouillon")}});
    EXPECT_EQ(lsg.name, "Louis Segond 1910");
    EXPECT_EQ(lsg.abbreviation, "LS1910");

    // The Louis Segond download, as eBible names it: most of its books say
    // "Louis Segond. Public Domain. 1910.", the others "Louis Segond 1910, ...",
    // which agrees and says more.
    if (!lorvane::testing::LsgDir().empty()) {
        const BibleNaming segond = app.ImportZip("fraLSG_usfm.zip", lorvane::testing::LsgEntries());
        EXPECT_EQ(segond.name, "Louis Segond 1910");
        EXPECT_EQ(segond.abbreviation, "LSG");
    }

    // The description as the Louis Segond files write it: a language code,
    // a file name, then the name with its history.
    const std::string real =
        "FRA (p.sfm) - Louis Segond 1910, French, 31-10-2011, Moon Sun Kim. Updated for DBL by "
        "E. Canales, September 2012.";
    EXPECT_EQ(NameFromUsfmBooks({{"a.usfm", Book("GEN", real)}}).name, "Louis Segond 1910");

    EXPECT_EQ(NameFromUsfmBooks({{"a.usfm", Book("GEN", "Darby")},
                                 {"b.usfm", Book("EXO", "Darby 1885")},
                                 {"c.usfm", Book("LEV", "Darby")}})
                  .name,
              "Darby 1885");

    // Each book naming itself names no Bible; nor do two books that differ.
    EXPECT_EQ(NameFromUsfmBooks({{"a.usfm", Book("GEN", "Genesis", "\\toc1 Genesis\n")},
                                 {"b.usfm", Book("EXO", "Exode")}})
                  .name,
              "");
    EXPECT_EQ(
        NameFromUsfmBooks({{"a.usfm", Book("GEN", "Darby")}, {"b.usfm", Book("EXO", "Martin")}})
            .name,
        "");
    // An abbreviation in brackets at the end is the Bible's.
    const BibleNaming web =
        NameFromUsfmBooks({{"a.usfm", Book("GEN", "World English Bible (WEB)")}});
    EXPECT_EQ(web.name, "World English Bible");
    EXPECT_EQ(web.abbreviation, "WEB");
    EXPECT_EQ(NameFromUsfmBooks({{"a.usfm", Book("GEN", "Louis Segond (1910)")}}).name,
              "Louis Segond (1910)");
    // A description in Windows-1252 is read as such.
    EXPECT_EQ(NameFromUsfmBooks({{"a.usfm", Book("GEN", "Bible \xE0 la colombe")}}).name,
              "Bible à la colombe");
}

TEST(BibleName, JunkInTheIdLineNamesNothing) {
    for (const char* junk : {"GEN.usfm", "UTF-8", "2012-09-01", "31/10/2011 11:52", "fr", "09/2012",
                             "FRA (c:\\projets\\lsg\\01GENLSG.SFM)", "- -", "EN_ULT"})
        EXPECT_EQ(NameFromUsfmBooks({{"a.usfm", Book("GEN", junk)}}).name, "") << junk;
    // What comes around the junk still names it.
    EXPECT_EQ(NameFromUsfmBooks({{"a.usfm", Book("GEN",
                                                 "EN_ULT en_English_ltr unfoldingWord Literal "
                                                 "Text Thu Apr 13 2023 11:52:24 GMT-0700 "
                                                 "(Pacific Daylight Time) tc")}})
                  .name,
              "unfoldingWord Literal Text");
    EXPECT_EQ(NameFromUsfmBooks({{"a.usfm", Book("GEN", "Segond 21 révisée (UTF-8)")}}).name,
              "Segond 21 révisée");
    // A version number is no date.
    EXPECT_EQ(NameFromUsfmBooks({{"a.usfm", Book("GEN", "Parole de Vie 1.2, 09/2012")}}).name,
              "Parole de Vie 1.2");
}

TEST(BibleName, TheFrontMatterNamesTheBibleWhenTheIdLinesDoNot) {
    Program app;
    const BibleNaming semeur = app.ImportZip(
        "bible.zip", {{"00-FRT.usfm", "\\id FRT\n\\toc1 La Bible du Semeur\n\\mt1 Bible\n"},
                      {"GEN.usfm", Book("GEN", "UTF-8")}});
    EXPECT_EQ(semeur.name, "La Bible du Semeur");
    EXPECT_EQ(semeur.abbreviation, "LBDS");

    // A title that only says "front matter" is no name: the main title is.
    EXPECT_EQ(NameFromUsfmBooks({{"FRT.SFM",
                                  "\\id FRT\n\\toc1 Préface\n\\toc2 Front Matter\n\\mt1 La Sainte "
                                  "\\w Bible|lemma=\"x\"\\w*\\f + \\ft note\\f*\n"},
                                 {"GEN.usfm", Book("GEN", "")}})
                  .name,
              "La Sainte Bible");
    // The agreed \id description comes first.
    EXPECT_EQ(NameFromUsfmBooks({{"INT.usfm", "\\id INT\n\\toc1 Introduction générale\n"},
                                 {"GEN.usfm", Book("GEN", "Ostervald")}})
                  .name,
              "Ostervald");
}

TEST(BibleName, TheFileNameStandsInWhenTheSourceTellsNothing) {
    EXPECT_EQ(NameFromSourceName("/home/l/Téléchargements/fraLSG_usfm.zip"), "fraLSG");
    EXPECT_EQ(NameFromSourceName("Ma Bible.zip"), "Ma Bible");
    EXPECT_EQ(NameFromSourceName("/tmp/fraLSG/02-GENfraLSG.usfm"), "fraLSG");
    EXPECT_EQ(NameFromSourceName("/tmp/Bible Martin/GEN.usfm"), "Bible Martin");
    EXPECT_EQ(NameFromSourceName("/tmp/Bible Martin/"), "Bible Martin");
    EXPECT_EQ(NameFromSourceName("darby.osis.xml"), "darby");
    EXPECT_EQ(NameFromSourceName("segond.tar.gz"), "segond");
    EXPECT_EQ(NameFromSourceName("Bible v1.2.zip"), "Bible v1.2");

    Program app;
    const BibleNaming mine =
        app.ImportZip("Bible d'Élise « à moi ».zip", {{"GEN.usfm", Book("GEN", "")}});
    EXPECT_EQ(mine.name, "Bible d'Élise « à moi »");
    EXPECT_EQ(mine.abbreviation, "BDÉÀM");
    // The eBible file name gives the abbreviation.
    EXPECT_EQ(app.ImportZip("fraLSG_usfm.zip", {{"GEN.usfm", Book("GEN", "")}}).abbreviation,
              "LSG");
}

TEST(BibleName, XmlBiblesNameThemselvesInTheirHeader) {
    EXPECT_EQ(NameFromXmlBible("<osis><osisText osisIDWork=\"LSG\"><header>"
                               "<work osisWork=\"strong\"><title>Strong</title></work>"
                               "<work osisWork=\"LSG\"><title>Louis Segond</title>"
                               "<identifier type=\"OSIS\">Bible.fr.LSG</identifier></work>"
                               "</header><div type=\"book\" osisID=\"Gen\"/></osisText></osis>",
                               BibleForm::Osis)
                  .abbreviation,
              "LSG");
    const BibleNaming osis = NameFromXmlBible(
        "<osis><osisText osisIDWork=\"Bible\"><header><work osisWork=\"Bible\">"
        "<title>Bible Martin</title><identifier>Bible.fr.Martin1744"
        "</identifier></work></header></osisText></osis>",
        BibleForm::Osis);
    EXPECT_EQ(osis.name, "Bible Martin");
    EXPECT_EQ(osis.abbreviation, "Martin1744");

    const BibleNaming zefania = NameFromXmlBible(
        "<XMLBIBLE><INFORMATION><title>Ostervald 1996</title><identifier>OST</identifier>"
        "</INFORMATION><BIBLEBOOK bnumber=\"1\"/></XMLBIBLE>",
        BibleForm::Zefania);
    EXPECT_EQ(zefania.name, "Ostervald 1996");
    EXPECT_EQ(zefania.abbreviation, "OST");

    EXPECT_EQ(NameFromXmlBible("<usfx><book id=\"GEN\"><id id=\"GEN\">Bible Crampon</id></book>"
                               "<book id=\"EXO\"><id id=\"EXO\">Bible Crampon</id></book></usfx>",
                               BibleForm::Usfx)
                  .name,
              "Bible Crampon");

    // The import keeps them.
    Program app;
    const BibleNaming imported = app.ImportZip(
        "x.zip",
        {{"bible.xml",
          "<XMLBIBLE><INFORMATION><title>Bible  Martin\n</title><identifier>MAR"
          "</identifier></INFORMATION><BIBLEBOOK bnumber=\"1\"><CHAPTER cnumber=\"1\">"
          "<VERS vnumber=\"1\">Au commencement.</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>"}});
    EXPECT_EQ(imported.name, "Bible Martin");
    EXPECT_EQ(imported.abbreviation, "MAR");
}

TEST(BibleName, ADocumentTypeWithoutEntitiesKeepsTheTitle) {
    const std::string osis =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE osis>\n<osis><osisText "
        "osisIDWork=\"Martin\"><header><work osisWork=\"Martin\"><title>Bible Martin</title>"
        "</work></header><div type=\"book\" osisID=\"Gen\"><chapter osisID=\"Gen.1\"><verse "
        "osisID=\"Gen.1.1\">Au commencement.</verse></chapter></div></osisText></osis>";
    EXPECT_EQ(NameFromXmlBible(osis, BibleForm::Osis).name, "Bible Martin");
    EXPECT_EQ(NameFromXmlBible("<!DOCTYPE XMLBIBLE SYSTEM \"zef.dtd\"><XMLBIBLE><INFORMATION>"
                               "<title>Ostervald</title></INFORMATION></XMLBIBLE>",
                               BibleForm::Zefania)
                  .name,
              "Ostervald");
    Program app;
    Write(app.downloads.path() / "martin.xml", osis);
    EXPECT_EQ(app.Import(app.downloads.path() / "martin.xml").name, "Bible Martin");
}

TEST(BibleName, AFilesPathNeverNamesTheBible) {
    // A front matter titled by its own path, in a folder named after the
    // form of its files.
    Program app;
    const fs::path usfm = app.downloads.path() / "oeb" / "usfm";
    Write(usfm / "00-Front Page.usfm",
          "\\id FRT\n\\toc1 oeb/usfm/00-Front Page.usfm (usfm)\n\\mt1 Front Page.usfm\n");
    Write(usfm / "01-Genesis.usfm", Book("GEN", ""));
    Write(usfm / "02-Exodus.usfm", Book("EXO", ""));
    EXPECT_EQ(app.Import(usfm).name, "oeb");
    // Its front page stands for the whole set.
    EXPECT_EQ(app.Import(usfm / "00-Front Page.usfm").name, "oeb");
    EXPECT_EQ(ImportBible(app.dir.appDir(), usfm / "00-Front Page.usfm").books, 2);
    EXPECT_EQ(NameFromSourceName("/tmp/oeb/usfm/01-Genesis.usfm"), "oeb");
    EXPECT_EQ(NameFromSourceName("/tmp/oeb/USFM/"), "oeb");
    EXPECT_EQ(NameFromUsfmBooks({{"a.usfm", Book("GEN", "oeb/usfm/01-Genesis.usfm (usfm)")}}).name,
              "");
}

TEST(BibleName, NamesAreShownOnOneLineAndAbbreviationsStayShort) {
    EXPECT_EQ(CleanBibleName("  La\tBible\r\n de\x01 J\xC3\xA9rusalem\xE2\x80\x8B  "),
              "La Bible de Jérusalem");
    EXPECT_EQ(CleanBibleName("Bible \"1/2\" d'\xE9t\xE9"), "Bible \"1/2\" d'été");
    std::string longName;
    for (int i = 0; i < 40; ++i)
        longName += "Écriture ";
    const std::string capped = CleanBibleName(longName);
    EXPECT_EQ(Characters(capped), kNameLength);
    EXPECT_EQ(capped.substr(0, 9), "Écriture");
    EXPECT_EQ(Characters(CleanBibleName(std::string(400, 'x'))), kNameLength);

    EXPECT_EQ(CleanAbbreviation(" NBS-2002 "), "NBS2002");
    EXPECT_EQ(CleanAbbreviation("ABCDEFGHIJ"), "ABCDEFGH");
    EXPECT_EQ(AbbreviationFromName("Darby"), "Darby");
    EXPECT_EQ(AbbreviationFromName("Ostervald1996"), "Osterval");
    EXPECT_EQ(AbbreviationFromName("Bible à la Colombe"), "BÀLC");
    EXPECT_EQ(AbbreviationFromName("The Holy Bible containing the Old and New Testaments"),
              "THBCTOAN");
    EXPECT_EQ(AbbreviationFromName("« — »"), "");

    // Whatever the source, both are there, the name capped as shown.
    Program app;
    const BibleNaming huge =
        app.ImportZip("bible.zip", {{"metadata.xml", Metadata("<name>" + longName + "</name>")},
                                    {"GEN.usfm", Book("GEN", "")}});
    EXPECT_EQ(huge.name, capped);
    EXPECT_EQ(huge.abbreviation, "ÉÉÉÉÉÉÉÉ");
    EXPECT_EQ(app.ImportZip("«».zip", {{"GEN.usfm", Book("GEN", "")}}).abbreviation, "Bible");
}

}  // namespace
}  // namespace lorvane::importer
