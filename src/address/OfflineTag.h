#pragma once

#include <QString>

namespace nc {

/// The loopback address, which the program takes as the sign of a machine without network.
inline const QString LoopbackAddress = QStringLiteral("127.0.0.1");
/// How the loopback address is shown.
inline const QString OfflineAddress = QStringLiteral("127.0.0.1 (offline)");

/// The text to show for \a localIp: the loopback address tagged as offline, any other unchanged.
QString TagOffline(const QString& localIp);
/// The address to hand out for the address box's \a text: exactly the offline text loses its tag.
QString UntagOffline(const QString& text);

} // namespace nc
