#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <set>

#include "Morphology.h"

using namespace lorvane::words;

namespace {

void ExpectFull(const Parsing& parsing, const std::string& full) {
    EXPECT_TRUE(parsing.known) << full;
    EXPECT_EQ(parsing.full, full);
}

QString Originals(const char* folder) {
    return QString::fromUtf8(LORVANE_ORIGINALS_DIR) + '/' + folder;
}

}  // namespace

TEST(Robinson, VerbsGiveTenseVoiceMoodPersonAndNumber) {
    const Parsing aorist = ExpandRobinson("V-AAI-3S");
    ExpectFull(aorist, "verbe, aoriste, actif, indicatif, 3e personne du singulier");
    EXPECT_EQ(aorist.brief, "v. aor. act. ind. 3s");
    ExpectFull(ExpandRobinson("V-2AMS-1P"),
               "verbe, aoriste second, moyen, subjonctif, 1re personne du pluriel");
    ExpectFull(ExpandRobinson("V-PEM-2S"),
               "verbe, présent, moyen-passif, impératif, 2e personne du singulier");
    ExpectFull(ExpandRobinson("V-LAI-3P"),
               "verbe, plus-que-parfait, actif, indicatif, 3e personne du pluriel");
    ExpectFull(ExpandRobinson("V-2RAI-1S"),
               "verbe, parfait second, actif, indicatif, 1re personne du singulier");
    ExpectFull(ExpandRobinson("V-FDI-3S"),
               "verbe, futur, moyen déponent, indicatif, 3e personne du singulier");
    ExpectFull(ExpandRobinson("V-IOI-3S"),
               "verbe, imparfait, passif déponent, indicatif, 3e personne du singulier");
    ExpectFull(ExpandRobinson("V-PNO-3S"),
               "verbe, présent, moyen ou passif déponent, optatif, 3e personne du singulier");
    ExpectFull(ExpandRobinson("V-PQI-3S"),
               "verbe, présent, actif impersonnel, indicatif, 3e personne du singulier");
    ExpectFull(ExpandRobinson("V-AAN"), "verbe, aoriste, actif, infinitif");
    ExpectFull(ExpandRobinson("V-PAI-1S-ATT"),
               "verbe, présent, actif, indicatif, 1re personne du singulier, forme attique");
}

TEST(Robinson, ParticiplesGiveCaseNumberAndGender) {
    const Parsing participle = ExpandRobinson("V-PAP-NSM");
    ExpectFull(participle, "verbe, présent, actif, participe, nominatif, singulier, masculin");
    EXPECT_EQ(participle.brief, "v. prés. act. part. nom. sg. masc.");
    ExpectFull(ExpandRobinson("V-RPP-GPF"),
               "verbe, parfait, passif, participe, génitif, pluriel, féminin");
    ExpectFull(ExpandRobinson("V-PAR-NPM"),
               "verbe, présent, actif, impératif-participe, nominatif, pluriel, masculin");
}

TEST(Robinson, NounsAdjectivesAndArticles) {
    const Parsing noun = ExpandRobinson("N-NSF");
    ExpectFull(noun, "nom, nominatif, singulier, féminin");
    EXPECT_EQ(noun.brief, "n. nom. sg. fém.");
    ExpectFull(ExpandRobinson("T-ASM"), "article, accusatif, singulier, masculin");
    ExpectFull(ExpandRobinson("A-DPN"), "adjectif, datif, pluriel, neutre");
    ExpectFull(ExpandRobinson("N-VSM"), "nom, vocatif, singulier, masculin");
}

TEST(Robinson, EachClassOfPronoun) {
    ExpectFull(ExpandRobinson("P-1NS"), "pronom personnel, 1re personne, nominatif, singulier");
    ExpectFull(ExpandRobinson("P-GSM"), "pronom personnel, génitif, singulier, masculin");
    ExpectFull(ExpandRobinson("F-3ASM"),
               "pronom réfléchi, 3e personne, accusatif, singulier, masculin");
    ExpectFull(
        ExpandRobinson("S-1SNSM"),
        "pronom possessif, possesseur : 1re personne du singulier, nominatif, singulier, masculin");
    ExpectFull(ExpandRobinson("R-NSM"), "pronom relatif, nominatif, singulier, masculin");
    ExpectFull(ExpandRobinson("C-APM"), "pronom réciproque, accusatif, pluriel, masculin");
    ExpectFull(ExpandRobinson("D-NSN"), "pronom démonstratif, nominatif, singulier, neutre");
    ExpectFull(ExpandRobinson("K-NPM"), "pronom corrélatif, nominatif, pluriel, masculin");
    ExpectFull(ExpandRobinson("I-NSM"), "pronom interrogatif, nominatif, singulier, masculin");
    ExpectFull(ExpandRobinson("X-NSM"), "pronom indéfini, nominatif, singulier, masculin");
    ExpectFull(ExpandRobinson("Q-NSN"),
               "pronom corrélatif ou interrogatif, nominatif, singulier, neutre");
}

TEST(Robinson, IndeclinableWords) {
    ExpectFull(ExpandRobinson("PREP"), "préposition");
    ExpectFull(ExpandRobinson("CONJ"), "conjonction");
    ExpectFull(ExpandRobinson("ADV"), "adverbe");
    ExpectFull(ExpandRobinson("PRT"), "particule");
    ExpectFull(ExpandRobinson("INJ"), "interjection");
    ExpectFull(ExpandRobinson("HEB"), "mot hébreu");
    ExpectFull(ExpandRobinson("ARAM"), "mot araméen");
    ExpectFull(ExpandRobinson("N-PRI"), "nom propre indéclinable");
    ExpectFull(ExpandRobinson("A-NUI"), "adjectif numéral indéclinable");
    ExpectFull(ExpandRobinson("COND"), "conjonction conditionnelle");
}

TEST(Robinson, Suffixes) {
    ExpectFull(ExpandRobinson("A-NSM-C"), "adjectif, nominatif, singulier, masculin, comparatif");
    ExpectFull(ExpandRobinson("ADV-S"), "adverbe, superlatif");
    ExpectFull(ExpandRobinson("N-NSM-C"), "nom, nominatif, singulier, masculin, forme contractée");
    ExpectFull(ExpandRobinson("PRT-N"), "particule, négatif");
    ExpectFull(ExpandRobinson("PRT-I"), "particule, interrogatif");
    ExpectFull(ExpandRobinson("D-NSM-K"),
               "pronom démonstratif, nominatif, singulier, masculin, crase");
    ExpectFull(ExpandRobinson("R-GSN-ATT"),
               "pronom relatif, génitif, singulier, neutre, forme attique");
    ExpectFull(ExpandRobinson("A-NUI-ABB"), "adjectif numéral indéclinable, forme abrégée");
}

TEST(Robinson, UnknownCodesSayItAndKeepWhatIsSound) {
    const Parsing partial = ExpandRobinson("V-AAI-9S");
    EXPECT_FALSE(partial.known);
    EXPECT_EQ(partial.full, "V-AAI-9S (code inconnu) : verbe, aoriste, actif, indicatif");
    for (const char* code : {"", "-", "V", "V-", "V-AA", "N-NSZ", "PREP-Q", "Z-NSM", "P-1NSM",
                             "S-1S", "V-AAP", "----"}) {
        const Parsing parsing = ExpandRobinson(code);
        EXPECT_FALSE(parsing.known) << code;
        EXPECT_EQ(parsing.full.rfind(std::string(code) + " (code inconnu)", 0), 0u) << code;
    }
    const Parsing bytes = ExpandRobinson("N-\xff\xc3");
    EXPECT_FALSE(bytes.known);
    EXPECT_EQ(bytes.full.rfind("N-?? (code inconnu)", 0), 0u);
    const Parsing huge = ExpandRobinson(std::string(1 << 20, 'V'));
    EXPECT_FALSE(huge.known);
    EXPECT_LT(huge.full.size(), 100u);
}

TEST(Oshm, NounsAdjectivesAndPrefixedWords) {
    const Parsing noun = ExpandOshm("HNcmpa");
    ExpectFull(noun, "hébreu, nom commun, masculin, pluriel, état absolu");
    EXPECT_EQ(noun.brief, "héb. n. comm. m. pl. abs.");
    ExpectFull(ExpandOshm("HR/Ncfsa"),
               "hébreu, préposition ; nom commun, féminin, singulier, état absolu");
    ExpectFull(ExpandOshm("HAcbpc"),
               "hébreu, adjectif numéral cardinal, des deux genres, pluriel, état construit");
    ExpectFull(ExpandOshm("HNp"), "hébreu, nom propre");
    ExpectFull(ExpandOshm("ANxxxa"), "araméen, nom, état absolu");
}

TEST(Oshm, VerbsOfEachStemAndConjugation) {
    ExpectFull(ExpandOshm("HVqp3ms"),
               "hébreu, verbe qal, parfait (qatal), 3e personne, masculin, singulier");
    ExpectFull(ExpandOshm("HC/Vqw3ms"),
               "hébreu, conjonction ; verbe qal, imparfait consécutif (wayyiqtol), 3e personne, "
               "masculin, singulier");
    ExpectFull(ExpandOshm("HVNrmsa"),
               "hébreu, verbe niphal, participe actif, masculin, singulier, état absolu");
    ExpectFull(ExpandOshm("HVhc"), "hébreu, verbe hiphil, infinitif construit");
    ExpectFull(ExpandOshm("HVtv2mp"),
               "hébreu, verbe hithpael, impératif, 2e personne, masculin, pluriel");
    ExpectFull(ExpandOshm("HVpj3ms"),
               "hébreu, verbe piel, jussif, 3e personne, masculin, singulier");
    ExpectFull(ExpandOshm("HVHa"), "hébreu, verbe hophal, infinitif absolu");
    ExpectFull(ExpandOshm("HVPsfsa"),
               "hébreu, verbe pual, participe passif, féminin, singulier, état absolu");
    ExpectFull(ExpandOshm("HVqh1cs"),
               "hébreu, verbe qal, cohortatif, 1re personne, commun, singulier");
}

TEST(Oshm, AramaicStemsAreTheirOwn) {
    ExpectFull(ExpandOshm("AVqp3ms"),
               "araméen, verbe peal, parfait (qatal), 3e personne, masculin, singulier");
    ExpectFull(ExpandOshm("AVhi1cs/Sp3ms"),
               "araméen, verbe haphel, imparfait (yiqtol), 1re personne, commun, "
               "singulier ; suffixe pronominal, 3e personne, masculin, singulier");
    ExpectFull(ExpandOshm("AVaq3ms"),
               "araméen, verbe aphel, parfait consécutif (weqatal), 3e personne, masculin, "
               "singulier");
    EXPECT_FALSE(ExpandOshm("HVap3ms").known);  // aphel is no Hebrew stem
}

TEST(Oshm, ParticlesPronounsAndSuffixes) {
    ExpectFull(ExpandOshm("HTd/Ncmsa"),
               "hébreu, article défini ; nom commun, masculin, singulier, état absolu");
    ExpectFull(ExpandOshm("HTo"), "hébreu, marqueur de l'objet direct");
    ExpectFull(ExpandOshm("HTn"), "hébreu, particule de négation");
    ExpectFull(ExpandOshm("HTi"), "hébreu, particule interrogative");
    ExpectFull(
        ExpandOshm("HRd/Ncmsa"),
        "hébreu, préposition avec article défini ; nom commun, masculin, singulier, état absolu");
    ExpectFull(ExpandOshm("HPp3ms"), "hébreu, pronom personnel, 3e personne, masculin, singulier");
    ExpectFull(ExpandOshm("APdxbp"), "araméen, pronom démonstratif, des deux genres, pluriel");
    ExpectFull(ExpandOshm("HNcmsc/Sp1cs"),
               "hébreu, nom commun, masculin, singulier, état construit ; suffixe pronominal, 1re "
               "personne, commun, "
               "singulier");
    ExpectFull(ExpandOshm("HNp/Sd"), "hébreu, nom propre ; hé directionnel");
    ExpectFull(ExpandOshm("AC/Ncfpc/Sp2m"),
               "araméen, conjonction ; nom commun, féminin, pluriel, état construit ; suffixe "
               "pronominal, 2e "
               "personne, masculin");
}

TEST(Oshm, UnknownCodesSayItAndKeepWhatIsSound) {
    const Parsing partial = ExpandOshm("HR/Nzzz");
    EXPECT_FALSE(partial.known);
    EXPECT_EQ(partial.full, "HR/Nzzz (code inconnu) : hébreu, préposition");
    for (const char* code :
         {"", "H", "X", "H/", "HR//", "HVq", "HVqp3m9", "HNcmsaz", "HT//", "HCC", "H\xd7\x90"}) {
        const Parsing parsing = ExpandOshm(code);
        EXPECT_FALSE(parsing.known) << code;
        EXPECT_NE(parsing.full.find("(code inconnu)"), std::string::npos) << code;
    }
    EXPECT_FALSE(ExpandOshm(std::string(1 << 20, '/')).known);
    ExpectFull(ExpandOshm("HVtv2fs/"),
               "hébreu, verbe hithpael, impératif, 2e personne, féminin, singulier");
}

// Every code the Greek New Testament uses, read from its files.
TEST(Robinson, EveryCodeOfTheGreekTextExpands) {
    const QString folder = Originals("greek-byzantine/strongs-parsing");
    QDirIterator files(folder, {"*.csv"}, QDir::Files);
    if (!files.hasNext()) GTEST_SKIP() << "no Greek texts in " << folder.toStdString();
    std::set<std::string> codes;
    static const QRegularExpression braces("\\{([^}]*)\\}");
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const auto& match : braces.globalMatch(text))
            codes.insert(match.captured(1).toStdString());
    }
    EXPECT_GT(codes.size(), 1000u);
    for (const std::string& code : codes)
        EXPECT_TRUE(ExpandRobinson(code).known) << code << ": " << ExpandRobinson(code).full;
    std::cerr << codes.size() << " distinct Greek codes expanded\n";
}

// Every code the Hebrew Old Testament uses, and every code of the table
// that defines them.
TEST(Oshm, EveryCodeOfTheHebrewTextAndItsTableExpands) {
    const QString folder = Originals("hebrew-wlc");
    QDirIterator files(folder, {"*.xml"}, QDir::Files);
    if (!files.hasNext()) GTEST_SKIP() << "no Hebrew texts in " << folder.toStdString();
    std::set<std::string> used;
    std::set<std::string> defined;
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == QLatin1String("w") && xml.attributes().hasAttribute("morph"))
                used.insert(xml.attributes().value("morph").toString().toStdString());
            else if (xml.name() == QLatin1String("entryFree"))
                defined.insert(xml.attributes().value("n").toString().toStdString());
        }
        ASSERT_FALSE(xml.hasError())
            << file.fileName().toStdString() << ": " << xml.errorString().toStdString();
    }
    EXPECT_GT(used.size(), 3000u);
    EXPECT_GT(defined.size(), 3000u);
    for (const std::set<std::string>* codes : {&used, &defined})
        for (const std::string& code : *codes)
            EXPECT_TRUE(ExpandOshm(code).known) << code << ": " << ExpandOshm(code).full;
    std::cerr << used.size() << " distinct Hebrew codes used and " << defined.size()
              << " defined, expanded\n";
}
