#include "Application.h"

#include "ErrorDisplay.h"

namespace lorvane {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowDefaultError(CurrentErrorMessage());
        return false;
    }
}

}  // namespace lorvane
