#include "PageFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace lorvane {

void InstallPageFonts() {
    const QString tahoma = QStringLiteral("Tahoma");
    if (QFontDatabase::hasFamily(tahoma) || !QFont::substitutes(tahoma).isEmpty()) return;
    QFont::insertSubstitutions(
        tahoma, {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
}

QString TahomaStandIn() {
    return QFontInfo(QFont(QStringLiteral("Tahoma"))).family();
}

}  // namespace lorvane
