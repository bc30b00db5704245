#include "OfflineTag.h"

namespace nc {

QString TagOffline(const QString& localIp) {
    return localIp == LoopbackAddress ? OfflineAddress : localIp;
}

QString UntagOffline(const QString& text) {
    return text == OfflineAddress ? LoopbackAddress : text;
}

} // namespace nc
