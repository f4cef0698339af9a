#include "AccessibleCommon.h"

#include <QApplication>

namespace lorvane::a11y {

QString WithoutAccessKey(QString caption) {
    caption.replace(QLatin1String("&&"), QStringLiteral("\x01")).remove(u'&');
    return caption.replace(u'\x01', u'&');
}

bool HasOwnFocus(const QWidget* widget) {
    return QApplication::focusWidget() == widget;
}

}  // namespace lorvane::a11y
