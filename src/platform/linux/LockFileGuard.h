#pragma once

#include "platform/Failure.h"
#include "platform/InstanceGuard.h"

#include <optional>

namespace nc {

/// Where there is no session bus (a bare remote shell): every copy holds a shared lock on one
/// file for as long as it runs, and a starting copy learns whether any other copy runs by asking
/// for an exclusive lock first. The kernel drops a lock with its holder, so a copy that died, or
/// an empty or damaged lock file, never blocks a start. A later copy cannot reach a running one.
///
/// The lock lies in the user's runtime folder, or where that cannot be used (unset, missing,
/// not the user's own, or a link or a folder where the file should be) in \a fallbackFolder,
/// created private if missing. Nothing is ever written outside the user's own folders; where
/// neither place can be used, the guard runs blind and says so once through RaiseWatchFailure.
class LockFileGuard final : public InstanceGuard {
public:
    LockFileGuard(const QString& runtimeFolder, const QString& fallbackFolder,
                  const QString& fileName);
    ~LockFileGuard() override;

    bool PrevInstance() override { return m_previous; }
    void ActivateFirstCopy() override;
    void ListenForActivation(std::function<bool(const QVariantMap&)>) override {}
    void RaiseWatchFailure() override;

    /// The lock file this copy holds; empty where no place could be used.
    QString path() const { return m_path; }

private:
    int m_fd = -1;
    bool m_previous = false;
    QString m_path;
    std::optional<Failure> m_failure;
};

} // namespace nc
