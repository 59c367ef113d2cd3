#pragma once
// The last step of a save: the new copy put in the old file's place. Windows
// refuses it for a moment while a scanner, the search indexer or a sync
// client holds the file, and some network shares do not support the replace
// at all.
#include <functional>

namespace tv {

inline constexpr int kReplaceTries = 10;      // within about a second in all
inline constexpr int kReplacePauseMs = 100;  // between two tries

// System error codes, as GetLastError gives them.
namespace syserr {
inline constexpr unsigned long kInvalidFunction = 1;
inline constexpr unsigned long kAccessDenied = 5;
inline constexpr unsigned long kSharingViolation = 32;
inline constexpr unsigned long kLockViolation = 33;
inline constexpr unsigned long kNotSupported = 50;
inline constexpr unsigned long kUnableToRemoveReplaced = 1175;
}  // namespace syserr

// An error that a holder of the file causes and ends by letting go.
bool IsPassingReplaceError(unsigned long error);
// An error that says the file system has no replace: a plain move is used.
bool IsReplaceUnsupported(unsigned long error);

struct ReplaceSteps {
    std::function<unsigned long()> replace;  // 0 when done, else the error
    std::function<unsigned long()> move;     // the move that stands in for an unsupported replace
    std::function<void(int ms)> pause;
};

// Tries the replace (or, once it proves unsupported, the move) up to
// kReplaceTries times while it fails with a passing error, pausing between
// tries. 0 when it was done, else the last error.
unsigned long ReplaceWithRetries(const ReplaceSteps& steps);

}  // namespace tv
