#pragma once

#include "Service.h"

#include <QString>

namespace nc {

/// The running program as the desktop knows it: its name, version, folders and addresses.
class ApplicationObject : public Service {
public:
    /// The application title; it names the windows and the settings.
    virtual QString Title() const = 0;
    /// Folder that holds the program file, as the system reports it.
    virtual QString Path() const = 0;
    /// Whether the user may keep files in the program's folder (not so for an installed copy).
    virtual bool PathIsUsersToWrite() const = 0;
    /// The user's own data folder for Netcairn, used where the program folder is not theirs.
    virtual QString DataPath() const = 0;
    /// Major version number.
    virtual qint16 Major() const = 0;
    /// Minor version number.
    virtual qint16 Minor() const = 0;
    /// Revision number.
    virtual qint16 Revision() const = 0;
    /// Legal copyright text of the version information: holder and years.
    virtual QString LegalCopyright() const = 0;
    /// The product homepage's web address.
    virtual QString HomepageAddress() const = 0;
    /// The maintainer's mail address.
    virtual QString FeedbackAddress() const = 0;
};

} // namespace nc
