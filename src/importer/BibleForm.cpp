#include "BibleForm.h"

#include "BibleName.h"
#include "BibleText.h"
#include "BibleXml.h"

namespace lorvane::importer {

FormBible ImportBibleFiles(std::vector<SourceFile> files, const std::string& source,
                           const UsfmImportOptions& options, Report& report) {
    FormBible out;
    std::vector<SourceFile> kept;
    for (SourceFile& file : files) {
        BibleForm form = DetectBibleForm(std::string_view(file.bytes).substr(0, 65536));
        // A book named as USFM that does not open with its \id line is
        // still read as one (and skipped there if it has none).
        if (form == BibleForm::Unknown && IsUsfmFileName(file.name)) form = BibleForm::Usfm;
        if (form == BibleForm::Unknown) {
            report.Warn("files of no Bible form, skipped", file.name);
            continue;
        }
        if (out.form == BibleForm::Unknown) out.form = form;
        if (form != out.form) {
            report.Warn("files of another form than the first, skipped", file.name);
            continue;
        }
        kept.push_back(std::move(file));
    }
    files.clear();
    if (out.form == BibleForm::Unknown) throw ImportError(kNoBibleHere);
    out.files = kept.size();

    const std::string what = BibleFormName(out.form).substr(3);  // "fichier OSIS"
    if (out.form == BibleForm::Usfm) {
        BibleNaming naming = NameFromUsfmBooks(kept);
        out.name = std::move(naming.name);
        out.abbreviation = std::move(naming.abbreviation);
        out.bible = ImportUsfmFiles(std::move(kept), "USFM " + source, options, report);
        return out;
    }
    TextConverter text;
    std::vector<UsfmBook> books;
    for (SourceFile& file : kept) {
        if (options.cancelled && options.cancelled()) throw ImportCancelled();
        const std::string utf8 =
            SourceToUtf8(file.bytes, StatedInXmlDeclaration(file.bytes), file.name, report);
        file.bytes = {};
        BibleNaming naming = NameFromXmlBible(utf8, out.form);
        if (out.abbreviation.empty()) out.abbreviation = std::move(naming.abbreviation);
        const XmlSteps steps{options.reading, options.cancelled};
        XmlBible xml;
        if (out.form == BibleForm::Osis)
            xml = ParseOsisXml(utf8, file.name, text, report, steps);
        else if (out.form == BibleForm::Zefania)
            xml = ParseZefaniaXml(utf8, file.name, text, report, steps);
        else
            xml = ParseUsfxXml(utf8, file.name, text, report, steps);
        if (out.name.empty()) out.name = naming.name.empty() ? xml.name : naming.name;
        for (UsfmBook& book : xml.books)
            books.push_back(std::move(book));
    }
    out.bible = AssembleBible(std::move(books), what.substr(8) + " " + source, options, text,
                              report, "Ce " + what + " ne contient aucun livre de la Bible.");
    return out;
}

}  // namespace lorvane::importer
