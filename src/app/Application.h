#pragma once

#include <QApplication>

namespace lorvane {

// The application object of the program. An exception that an event
// handler lets out goes to the default error display instead of ending the
// process, and the program goes on.
class TApplication : public QApplication {
    Q_OBJECT
  public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace lorvane
