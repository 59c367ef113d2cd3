#include "text/core/ReplaceRetry.h"

namespace tv {

bool IsPassingReplaceError(unsigned long error) {
    // Access is denied too while a file is being deleted or scanned; a
    // read-only file is refused before the replace is tried.
    return error == syserr::kSharingViolation || error == syserr::kLockViolation ||
           error == syserr::kAccessDenied || error == syserr::kUnableToRemoveReplaced;
}

bool IsReplaceUnsupported(unsigned long error) {
    return error == syserr::kNotSupported || error == syserr::kInvalidFunction;
}

unsigned long ReplaceWithRetries(const ReplaceSteps& steps) {
    bool moving = false;
    unsigned long error = 0;
    for (int attempt = 1; attempt <= kReplaceTries; ++attempt) {
        error = moving ? steps.move() : steps.replace();
        if (error == 0) return 0;
        if (!moving && IsReplaceUnsupported(error)) {
            moving = true;  // at once, and not counted: nothing is holding the file
            --attempt;
            continue;
        }
        if (!IsPassingReplaceError(error) || attempt == kReplaceTries) return error;
        steps.pause(kReplacePauseMs);
    }
    return error;
}

}  // namespace tv
