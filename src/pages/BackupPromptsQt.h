#pragma once

// The boxes of the archive component as message boxes.

#include "backup.h"

namespace lorvane {

class BackupPromptsQt : public BackupPrompts {
  public:
    // Error icon, the message, one OK button.
    void Error(const QString& message) override;
    // "Please insert disk %s and click OK to continue." with OK and Cancel.
    bool InsertDisk(const QString& label) override;
};

}  // namespace lorvane
