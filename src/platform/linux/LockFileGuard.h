#pragma once

#include "platform/InstanceGuard.h"

namespace nc {

/// Where there is no session bus (a bare remote shell): the running copy holds a lock on a file
/// in the user's runtime folder. The kernel drops the lock with its holder, so a copy that died,
/// or an empty or damaged lock file, never blocks a start. A later copy cannot reach this one.
class LockFileGuard final : public InstanceGuard {
public:
    explicit LockFileGuard(const QString& path);
    ~LockFileGuard() override;

    bool PrevInstance() override { return !m_first; }
    void ActivateFirstCopy(const QString& title) override;
    void ListenForActivation(std::function<bool(const QString&)>) override {}

private:
    int m_fd = -1;
    bool m_first = true;
};

} // namespace nc
