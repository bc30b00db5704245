#pragma once

#include "platform/ApplicationObject.h"

namespace nc {

/// The running executable: title, version and copyright from the build, folders from the system.
class QtApplicationObject final : public ApplicationObject {
public:
    QString Title() const override;
    QString Path() const override;
    bool PathIsUsersToWrite() const override;
    QString DataPath() const override;
    qint16 Major() const override;
    qint16 Minor() const override;
    qint16 Revision() const override;
    QString LegalCopyright() const override;
    QString HomepageAddress() const override;
    QString FeedbackAddress() const override;
};

/// Whether \a folder lies in the system's program folders, where an installed copy lives.
bool IsSystemProgramFolder(const QString& folder);

} // namespace nc
