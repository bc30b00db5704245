#pragma once

#include <QString>

namespace nc {

class ApplicationObject;

/// "major.minorrevision": 1.2.1 is written 1.21, and minor 10 with revision 0 gives 1.100.
QString VersionText(qint16 major, qint16 minor, qint16 revision);
/// The version text of the running program.
QString VersionText(const ApplicationObject& app);

} // namespace nc
