#include "ErrorDisplay.h"

#include <QApplication>
#include <QMessageBox>
#include <iostream>
#include <new>

namespace lorvane {

QString CurrentErrorMessage() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return QString::fromUtf8("Mémoire insuffisante.");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QString::fromUtf8("Erreur inconnue.");
    }
}

void ShowDefaultError(const QString& message) {
    std::cerr << "lorvane: " << message.toStdString() << std::endl;
    // The hourglass of an interrupted long operation must not stay over
    // the box.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), message,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName("DefaultErrorBox");
    box.exec();
    QApplication::restoreOverrideCursor();
}

}  // namespace lorvane
