#include "QtApplicationObject.h"

#include "BuildFacts.h"
#include "XdgFolders.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace nc {

QString QtApplicationObject::Title() const {
    return QString::fromUtf8(build::Title);
}

QString QtApplicationObject::Path() const {
    return QCoreApplication::applicationDirPath();
}

bool IsSystemProgramFolder(const QString& folder) {
    for (const char* system : {"/usr", "/bin", "/sbin", "/opt", "/snap"}) {
        const QString prefix = QString::fromLatin1(system);
        if (folder == prefix || folder.startsWith(prefix + u'/'))
            return true;
    }
    return false;
}

bool QtApplicationObject::PathIsUsersToWrite() const {
    // An installed copy lives in the system's program folders; those hold no per-user files,
    // even for an administrator who could write there.
    const QString folder = Path();
    return !IsSystemProgramFolder(folder) && QFileInfo(folder).isWritable();
}

QString QtApplicationObject::DataPath() const {
    return XdgDataHome() + u'/' + Title();
}

qint16 QtApplicationObject::Major() const {
    return build::Major;
}
qint16 QtApplicationObject::Minor() const {
    return build::Minor;
}
qint16 QtApplicationObject::Revision() const {
    return build::Revision;
}

QString QtApplicationObject::LegalCopyright() const {
    return QString::fromUtf8(build::Copyright);
}

QString QtApplicationObject::HomepageAddress() const {
    return QString::fromUtf8(build::Homepage);
}

QString QtApplicationObject::FeedbackAddress() const {
    return QString::fromUtf8(build::Feedback);
}

} // namespace nc
