#include "VersionText.h"

#include "platform/ApplicationObject.h"

namespace nc {

QString VersionText(qint16 major, qint16 minor, qint16 revision) {
    return QString::number(major) + u'.' + QString::number(minor) + QString::number(revision);
}

QString VersionText(const ApplicationObject& app) {
    return VersionText(app.Major(), app.Minor(), app.Revision());
}

} // namespace nc
