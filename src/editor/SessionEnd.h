#pragma once

// Keeps the writing pad's unsaved notes when the program is ended from
// outside. When the desktop session ends (log out, shut down), the session
// manager's question comes to the pad: it asks "Enregistrer les
// modifications ?" when it may, and otherwise writes the notes to a file.
// When the program receives SIGTERM or SIGHUP, it writes the notes as RTF
// into the documents folder (else the home folder), as "Notes non
// enregistrées AAAA-MM-JJ HH-MM.rtf", then ends.
//
// At the next start, notes kept so are opened again in the pad.
//
// The signal handler only writes to a pipe; the notes are written on the
// GUI thread, which reads the pipe through the event loop.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <ctime>
#include <string>

class QSessionManager;
class QSocketNotifier;

namespace lorvane {

class TFrmRichEdit;

class SessionGuard : public QObject {
    Q_OBJECT
  public:
    // One at a time; it watches the signals while it lives.
    explicit SessionGuard(TFrmRichEdit* pad, QObject* parent = nullptr);
    ~SessionGuard() override;
    SessionGuard(const SessionGuard&) = delete;
    SessionGuard& operator=(const SessionGuard&) = delete;

    // Writes the unsaved notes into the documents folder, else the home
    // folder; returns the file's path, or "" when there was nothing to
    // keep or the file could not be written (said on standard error).
    std::string RescueNotes();

    // At a start: when notes were kept since the last start (a file
    // "Notes non enregistrées ….rtf" of the folders, newer than the time
    // the stamp file holds), opens the newest in the pad and says so in its
    // status line. Then writes `now` into the stamp. A missing stamp (a
    // first start) opens nothing; a damaged one is said on standard error
    // and rewritten. Returns the path opened, or "".
    std::string OfferRescuedNotes(const QString& stamp, const QStringList& folders,
                                  std::time_t now);
    // The folders where notes are kept: the documents folder, else the
    // home folder.
    static QStringList RescueFolders();

  private:
    void SignalArrived();
    void CommitData(QSessionManager& manager);

    QPointer<TFrmRichEdit> pad_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace lorvane
