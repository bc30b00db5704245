#pragma once

#include "Service.h"

#include <QString>

namespace nc {

/// The machine's own network address, read without sending anything.
class AddressSource : public Service {
public:
    /// The local IPv4 address as dotted-decimal text; "127.0.0.1" when there is no network.
    virtual QString LocalIP() = 0;
};

} // namespace nc
