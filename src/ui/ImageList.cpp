#include "ImageList.h"

#include <QCoreApplication>
#include <QIconEngine>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <optional>

namespace lorvane {
namespace {

struct Entry {
    const char* own;                           // file of icons/, without ".svg"
    std::initializer_list<const char*> theme;  // freedesktop names, best first
};

// The first theme icon of the names that the theme has, else the
// program's own drawing.
QIcon Resolve(const QString& own, const QStringList& theme) {
    QIcon drawing(QStringLiteral(":/lorvane/icons/%1.svg").arg(own));
    for (const QString& name : theme) {
        if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name, drawing);
    }
    return drawing;
}

// An image whose theme lookup, or the reading of the program's own drawing,
// waits until it is first drawn or asked about: a lookup probes the theme's
// folders, a drawing is parsed when read, and no image is on the screen
// when the windows are made (most are in the writing pad or a hidden pane).
// Copies share the lookup. Sizes and pixmaps are those of the resolved
// icon at a device pixel ratio of 1, as QIcon asks its engine for them.
class DeferredIconEngine : public QIconEngine {
  public:
    DeferredIconEngine(QString own, QStringList theme)
        : own_(std::move(own)), theme_(std::move(theme)), icon_(std::make_shared<QIcon>()) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, 1.0, mode, state);
    }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    QString iconName() override { return Icon().name(); }
    // The program's own drawing stands behind every image.
    bool isNull() override { return false; }

  private:
    const QIcon& Icon() {
        if (icon_->isNull()) *icon_ = Resolve(own_, theme_);
        return *icon_;
    }

    QString own_;
    QStringList theme_;
    std::shared_ptr<QIcon> icon_;
};

QIcon Image(const Entry& e) {
    const QString own = QLatin1String(e.own);
    QStringList theme;
    for (const char* name : e.theme)
        theme.push_back(QLatin1String(name));
    return QIcon(new DeferredIconEngine(own, theme));
}

// Each standard list is resolved once per application: a theme lookup
// probes a dozen folders per icon, and the windows ask for the same lists
// many times over. The lists go with the application object.
enum List { kModules, kButtons, kForme, kFichier, kListCount };
std::optional<ImageList> made[kListCount];

ImageList Make(List list, int side, std::initializer_list<Entry> entries) {
    if (made[list]) return *made[list];
    ImageList::UseFallbackIconTheme();
    QList<QIcon> icons;
    for (const Entry& e : entries)
        icons.push_back(Image(e));
    bool first = true;
    for (const auto& m : made)
        first = first && !m;
    if (first) {
        qAddPostRoutine([] {
            for (auto& m : made)
                m.reset();
        });
    }
    made[list] = ImageList(QSize(side, side), icons);
    return *made[list];
}

}  // namespace

void ImageList::UseFallbackIconTheme() {
    // Without a desktop (a bare X server, the offscreen platform) Qt knows
    // no theme at all: then Breeze is the theme.
    if (QIcon::themeName().isEmpty()) QIcon::setThemeName(QStringLiteral("breeze"));
    const QString fallback = QIcon::fallbackThemeName();
    if (fallback.isEmpty() || fallback == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("breeze"));
}

QIcon ImageList::Icon(int index) const {
    if (index < 0 || index >= Count()) return {};
    return icons_[index];
}

QPixmap ImageList::Pixmap(int index, qreal scale, qreal devicePixelRatio) const {
    if (index < 0 || index >= Count()) return {};
    QSize s(static_cast<int>(std::lround(size_.width() * scale)),
            static_cast<int>(std::lround(size_.height() * scale)));
    return icons_[index].pixmap(s, devicePixelRatio);
}

ImageList ImageList::Modules() {
    return Make(kModules, 32,
                {{"m00-livres", {}},
                 {"m01-index", {}},
                 {"m02-glossaire", {}},
                 {"m03-rechercher", {}},
                 {"m04-themes", {}},
                 {"m05-annotations", {}},
                 {"m06-rediger", {}},
                 {"m07-accoles", {}},
                 {"m08-ligne", {}},
                 {"m09-taille", {}},
                 {"m10-gauche", {}},
                 {"m11-droite", {}},
                 {"m12-haut", {}},
                 {"m13-bas", {}}});
}

ImageList ImageList::Buttons() {
    return Make(kButtons, 24,
                {{"b0-fermer", {"tab-close", "window-close"}},
                 {"b1-onglet", {"tab-new"}},
                 {"b2-haut", {"go-up"}},
                 {"b3-bas", {"go-down"}},
                 {"b4-accueil", {"go-home"}},
                 {"b5-actualiser", {"view-refresh"}},
                 {"b6-chercher", {"edit-find"}},
                 {"b7-precedent", {"go-previous"}},
                 {"b8-suivant", {"go-next"}}});
}

ImageList ImageList::Forme() {
    return Make(kForme, 16,
                {{"f00-gras", {"format-text-bold"}},
                 {"f01-italique", {"format-text-italic"}},
                 {"f02-souligne", {"format-text-underline"}},
                 {"f03-gauche", {"format-justify-left"}},
                 {"f04-centre", {"format-justify-center"}},
                 {"f05-droite", {"format-justify-right"}},
                 {"f06-puces", {"format-list-unordered"}},
                 {"f07-couleur", {"format-text-color"}},
                 {"f08-exposant", {"format-text-superscript"}},
                 {"f09-indice", {"format-text-subscript"}},
                 {"f10-retrait-moins", {"format-indent-less"}},
                 {"f11-retrait-plus", {"format-indent-more"}}});
}

ImageList ImageList::Fichier() {
    return Make(kFichier, 16,
                {{"d0-nouveau", {"document-new"}},
                 {"d1-ouvrir", {"document-open"}},
                 {"d2-enregistrer", {"document-save"}},
                 {"d3-enregistrer-sous", {"document-save-as"}},
                 {"d4-imprimer", {"document-print"}},
                 {"d5-couper", {"edit-cut"}},
                 {"d6-copier", {"edit-copy"}},
                 {"d7-coller", {"edit-paste"}}});
}

}  // namespace lorvane
