#include "SessionEnd.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <exception>
#include <iostream>

#include "FrRichEdit.h"
#include "QtPath.h"

namespace lorvane {
namespace {

// The pipe from the signal handler to the event loop.
int signalPipe[2] = {-1, -1};

void OnSignal(int number) {
    const int saved = errno;
    const char byte = static_cast<char>(number);
    (void)!::write(signalPipe[1], &byte, 1);
    errno = saved;
}

void Handle(int number, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(number, &action, nullptr);
}

}  // namespace

SessionGuard::SessionGuard(TFrmRichEdit* pad, QObject* parent) : QObject(parent), pad_(pad) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
        ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
        notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { SignalArrived(); });
        Handle(SIGTERM, OnSignal);
        Handle(SIGHUP, OnSignal);
    }
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager& manager) { CommitData(manager); });
}

SessionGuard::~SessionGuard() {
    if (!notifier_) return;
    Handle(SIGTERM, SIG_DFL);
    Handle(SIGHUP, SIG_DFL);
    delete notifier_;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

std::string SessionGuard::RescueNotes() {
    if (!pad_) return {};
    // The documents folder, else the home folder, also when the first
    // cannot be written.
    for (const QString& folder : {TFrmRichEdit::StartFolder(), QDir::homePath()}) {
        try {
            return pad_->RescueNotes(PathFromQt(folder), std::time(nullptr));
        } catch (const std::exception& e) {
            std::cerr << "lorvane: " << e.what() << std::endl;
        }
    }
    return {};
}

void SessionGuard::SignalArrived() {
    char byte = 0;
    if (::read(signalPipe[0], &byte, 1) != 1) return;
    const std::string kept = RescueNotes();
    if (!kept.empty()) std::cerr << "lorvane: notes non enregistrées : " << kept << std::endl;
    // Every event loop ends, a dialog's too: nothing asks any more.
    QCoreApplication::exit(128 + byte);
}

void SessionGuard::CommitData(QSessionManager& manager) {
    if (!pad_ || !pad_->Modified()) return;
    if (manager.allowsInteraction()) {
        const bool done = pad_->CanClose();
        manager.release();
        if (!done) manager.cancel();
        return;
    }
    RescueNotes();
}

}  // namespace lorvane
