#pragma once

#include "export/AtomicFileWrite.h"
#include "recovery/RecoveryRecord.h"

// Where one editor keeps its recovery record: RecoveryFolder on disk, or whatever a test puts
// in its place to watch the writes.
class RecoveryStore {
public:
    virtual ~RecoveryStore() = default;

    // Replaces the record kept with this one; the failure says why in words for the user.
    virtual WriteResult Write(const RecoveryRecord& record) = 0;
    // Removes the record kept, with everything written for it.
    virtual void RemoveOwn() = 0;
};
