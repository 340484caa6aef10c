#pragma once
// How a size query or a download of the window's transfer routines ended when it did not bring
// the file: what kind of failure it was and, in a few words, why. Callers decide by the kind;
// the reason is for the user to read.

#include <string>

namespace tollen::transfer {

enum class FailureKind {
    None,
    /// No connection could be made, or no answer came at all.
    NoConnection,
    /// The server has no such file (or directory), or the lookup found nothing.
    NotFound,
    /// The server answered with a failure of its own (a status other than success or "not
    /// found").
    ServerRefused,
    /// The transfer broke off, or the server sent what was not asked for.
    TransferCut,
    /// The local file could not be written.
    LocalFile,
    /// The path would lead off the database (or cannot be written into a command); nothing was
    /// sent.
    PathRefused,
};

struct TransferFailure
{
    FailureKind kind = FailureKind::None;
    std::string reason;

    explicit operator bool() const { return kind != FailureKind::None; }
    /// Whether the transfer itself went wrong, rather than the file not being there or the
    /// path never being sent.
    bool isFault() const
    {
        return kind != FailureKind::None && kind != FailureKind::NotFound &&
               kind != FailureKind::PathRefused;
    }
};

} // namespace tollen::transfer
