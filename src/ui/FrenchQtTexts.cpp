#include "FrenchQtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace lorvane {
namespace {

// The texts of Qt's file model that its French translations lack (they
// predate the class that says them): the "Type" column of the file
// dialogs.
class FileTypesInFrench : public QTranslator {
  public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
        static const char* const kTexts[][2] = {
            {"Folder", "Dossier"},     {"File Folder", "Dossier"}, {"Drive", "Lecteur"},
            {"Shortcut", "Raccourci"}, {"Unknown", "Inconnu"},     {"File", "Fichier"},
        };
        for (const auto& [english, french] : kTexts)
            if (qstrcmp(source, english) == 0) return QString::fromUtf8(french);
        return {};
    }
};

}  // namespace

bool InstallFrenchQtTexts() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QString name = QStringLiteral("LorvaneQtFrench");
    if (app->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly)) return true;
    auto* translator = new QTranslator(app);
    translator->setObjectName(name);
    QCoreApplication::installTranslator(new FileTypesInFrench(app));
    if (!translator->load(QStringLiteral("qtbase_fr"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace lorvane
