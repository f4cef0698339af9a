#include "SessionEnd.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <exception>
#include <iostream>
#include <optional>

#include "FrRichEdit.h"
#include "QtPath.h"
#include "UserFiles.h"

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

QStringList SessionGuard::RescueFolders() {
    return {TFrmRichEdit::StartFolder(), QDir::homePath()};
}

std::string SessionGuard::RescueNotes() {
    if (!pad_) return {};
    // The documents folder, else the home folder, also when the first
    // cannot be written.
    for (const QString& folder : RescueFolders()) {
        try {
            return pad_->RescueNotes(PathFromQt(folder), std::time(nullptr));
        } catch (const std::exception& e) {
            std::cerr << "lorvane: " << e.what() << std::endl;
        }
    }
    return {};
}

std::string SessionGuard::OfferRescuedNotes(const QString& stamp, const QStringList& folders,
                                            std::time_t now) {
    std::optional<qint64> lastStart;
    if (const std::optional<QByteArray> bytes = ReadUserFile(stamp, 64)) {
        bool ok = false;
        const qint64 seconds = bytes->trimmed().toLongLong(&ok);
        if (ok && seconds > 0)
            lastStart = seconds;
        else
            std::cerr << "lorvane: " << QFile::encodeName(stamp).constData()
                      << ": not a start time, written again" << std::endl;
    }
    WriteUserFile(stamp, QByteArray::number(static_cast<qint64>(now)) + "\n");
    if (!lastStart || !pad_) return {};

    // The newest notes kept since the last start.
    QFileInfo newest;
    for (const QString& folder : folders) {
        const QFileInfoList found = QDir(folder).entryInfoList(
            {QString::fromUtf8("Notes non enregistrées *.rtf")}, QDir::Files | QDir::Readable);
        for (const QFileInfo& f : found)
            if (f.lastModified().toSecsSinceEpoch() >= *lastStart &&
                (!newest.exists() || f.lastModified() > newest.lastModified()))
                newest = f;
    }
    if (!newest.exists()) return {};
    const std::string path = PathFromQt(newest.absoluteFilePath());
    try {
        pad_->LoadFromFile(path);
    } catch (const std::exception& e) {
        std::cerr << "lorvane: " << e.what() << std::endl;
        return {};
    }
    pad_->ShowNotice(QString::fromUtf8("Notes gardées à la fin de la dernière session : « %1 ».")
                         .arg(newest.fileName()));
    return path;
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
