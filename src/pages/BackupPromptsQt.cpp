#include "BackupPromptsQt.h"

#include <QMessageBox>

namespace lorvane {

void BackupPromptsQt::Error(const QString& message) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), message, QMessageBox::Ok);
    box.setObjectName("BackupErrorBox");
    box.exec();
}

bool BackupPromptsQt::InsertDisk(const QString& label) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"),
                    TBackupFile::DiskPrompt(label), QMessageBox::Ok | QMessageBox::Cancel);
    box.setObjectName("BackupDiskBox");
    return box.exec() == QMessageBox::Ok;
}

}  // namespace lorvane
