#pragma once

// TBackupFile reads the study-page archive (data/them.dat): a header, then
// entries whose members are cut into blocks of at most 16,384 bytes, each
// stored as it is or compressed as one zlib stream, optionally spread over
// volume files (them.dat, them.002, ...). Only restoring is implemented; the
// writer-side settings are carried and play no part.
//
// Widget-free (Qt Core and zlib): the two boxes the component may show go
// through BackupPrompts, which the program implements with message boxes.

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

class QFile;
class QIODevice;

namespace lorvane {

// The boxes of the archive component.
struct BackupPrompts {
    virtual ~BackupPrompts() = default;
    // An error message with an error icon and an OK button.
    virtual void Error(const QString& message) = 0;
    // "Please insert disk %s and click OK to continue." with OK and Cancel;
    // true when OK was chosen.
    virtual bool InsertDisk(const QString& label) = 0;
};

// A failure that leaves Restore. code() is the error-table code it carries
// (3 "Cannot read archive", 5 "Invalid archive type"), or 0 for a read
// failure of the archive stream or a refused archive structure.
class BackupError : public std::runtime_error {
  public:
    BackupError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

class TBackupFile : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Version READ Version WRITE SetVersion)
    Q_PROPERTY(QString BackupTitle READ BackupTitle WRITE SetBackupTitle)
    Q_PROPERTY(TBackupMode BackupMode READ BackupMode WRITE SetBackupMode)
    Q_PROPERTY(TCompressionLevel CompressionLevel READ CompressionLevel WRITE SetCompressionLevel)
    Q_PROPERTY(TRestoreMode RestoreMode READ RestoreMode WRITE SetRestoreMode)
    Q_PROPERTY(qint32 MaxSize READ MaxSize WRITE SetMaxSize)
    Q_PROPERTY(bool SetArchiveFlag READ SetArchiveFlag WRITE SetSetArchiveFlag)
    Q_PROPERTY(bool RestoreFullPath READ RestoreFullPath WRITE SetRestoreFullPath)
    Q_PROPERTY(bool SaveFileID READ SaveFileID WRITE SetSaveFileID)

  public:
    enum TBackupMode { bmAll, bmIncremental };
    Q_ENUM(TBackupMode)
    enum TCompressionLevel { clFastest, clNone, clDefault, clMax };
    Q_ENUM(TCompressionLevel)
    enum TRestoreMode { rmAll, rmNoOverwrite, rmNewer, rmExisting, rmExistingNewer };
    Q_ENUM(TRestoreMode)

    // The block size limit, before and after inflating.
    static constexpr int kBufferSize = 16384;

    // Handlers. Reference arguments are the writable ones: what the handler
    // leaves in them takes effect.
    // After each block of a member being written and at its closing length,
    // and once at the end with an empty name and 100; clearing Continue ends
    // the member and the restore.
    using TProgressEvent = std::function<void(TBackupFile* Sender, const QString& Filename,
                                              int Percent, bool& Continue)>;
    // At a volume switch, instead of the prompt.
    using TNeedDiskEvent =
        std::function<void(TBackupFile* Sender, std::uint16_t DiskID, bool& Continue)>;
    // For every member but the file list, once the restore mode has decided.
    using TRestoreFileEvent = std::function<void(TBackupFile* Sender, QString& Filename,
                                                 std::int32_t FA, bool& DoRestore)>;
    // After a member's data is written, before its date is set and it is
    // closed. The component dates and closes whatever file Stream names
    // when the handler returns (none when it is null); it deletes only the
    // file it opened itself.
    using TFileRestoredEvent =
        std::function<void(TBackupFile* Sender, QString& Filename, QFile*& Stream)>;
    // By ReportError, instead of the error box.
    using TBackupErrorEvent =
        std::function<void(TBackupFile* Sender, int Error, const QString& ErrString)>;

    explicit TBackupFile(QObject* owner = nullptr, const QString& name = {});
    ~TBackupFile() override;

    // Published properties.
    QString Version() const { return QStringLiteral("5.10"); }
    void SetVersion(const QString&) {}
    QString BackupTitle() const { return backupTitle_; }
    void SetBackupTitle(const QString& v) { backupTitle_ = v; }
    TBackupMode BackupMode() const { return backupMode_; }
    void SetBackupMode(TBackupMode v);
    TCompressionLevel CompressionLevel() const { return compressionLevel_; }
    void SetCompressionLevel(TCompressionLevel v) { compressionLevel_ = v; }
    TRestoreMode RestoreMode() const { return restoreMode_; }
    void SetRestoreMode(TRestoreMode v) { restoreMode_ = v; }
    qint32 MaxSize() const { return maxSize_; }
    void SetMaxSize(qint32 v) { maxSize_ = v; }
    bool SetArchiveFlag() const { return setArchiveFlag_; }
    void SetSetArchiveFlag(bool v) { setArchiveFlag_ = v; }
    TProgressEvent OnProgress;
    TNeedDiskEvent OnNeedDisk;
    TRestoreFileEvent OnRestoreFile;
    TFileRestoredEvent OnFileRestored;
    TBackupErrorEvent OnError;
    bool RestoreFullPath() const { return restoreFullPath_; }
    void SetRestoreFullPath(bool v) { restoreFullPath_ = v; }
    bool SaveFileID() const { return saveFileID_; }
    void SetSaveFileID(bool v) { saveFileID_ = v; }

    // The boxes shown without OnError and OnNeedDisk; without prompts an
    // error is only logged and a disk request counts as cancelled.
    BackupPrompts* Prompts = nullptr;
    // Read instead of a file when the archive name is ":STREAM", from its
    // current position. The owner keeps it; a volume switch leaves it open.
    QIODevice* SourceStream = nullptr;

    // State of the running (or last) restore.
    int ErrorCode() const { return errorCode_; }
    bool ContinueFlag() const { return continueFlag_; }
    qint32 TotalBytes() const { return totalBytes_; }
    qint64 ProcessedBytes() const { return processedBytes_; }
    const QString& CurrentTarget() const { return currentTarget_; }

    // Restores the archive into DestFolder. True when it ran to its end
    // without error and was not stopped; false at once, with nothing called,
    // when ArchiveName names no file. Raises BackupError when the archive
    // cannot be opened or its header read ("Cannot read archive"), and for a
    // damaged entry, skipped member or volume continuation.
    bool Restore(const QString& ArchiveName, const QString& DestFolder);

    // Reads one member-data section of source: the DataMarker, then blocks
    // up to the closing length 0. When restoring, writes the member's bytes
    // to target, else skips them.
    void ReadMemberData(QIODevice& source, QIODevice* target, bool restoring);

    // Reports an error code through OnError or the error box.
    void ReportError(int code);

    // The message of an error code; empty outside 1-7.
    static QString ErrorMessage(int code);
    // The text of the volume prompt for a disk label.
    static QString DiskPrompt(const QString& label);

  private:
    struct Source;
    void RestoreEntries(Source& src, const QString& destFolder);
    bool MemberTarget(const std::string& storedName, const QString& destFolder,
                      QString& target) const;
    bool DecideByMode(std::int32_t fileDate) const;
    void SwitchVolume(Source& src, const std::string& storedName, bool decision,
                      std::int32_t fileDate);
    void FinishFile(QFile* opened, std::int32_t fileDate);
    void ReadExactly(QIODevice& source, char* into, qint64 n);
    void Skip(QIODevice& source, qint64 n);
    std::int32_t ReadInt(QIODevice& source);
    std::string ReadBytes(QIODevice& source, std::int32_t n);

    QString backupTitle_;
    TBackupMode backupMode_ = bmAll;
    TCompressionLevel compressionLevel_ = clFastest;
    TRestoreMode restoreMode_ = rmAll;
    qint32 maxSize_ = 0;
    bool setArchiveFlag_ = false;
    bool restoreFullPath_ = false;
    bool saveFileID_ = false;

    int errorCode_ = 0;
    bool continueFlag_ = false;
    qint32 totalBytes_ = 0;
    qint64 processedBytes_ = 0;
    QString currentTarget_;

    std::unique_ptr<char[]> inBuffer_;
    std::unique_ptr<char[]> outBuffer_;
};

}  // namespace lorvane
