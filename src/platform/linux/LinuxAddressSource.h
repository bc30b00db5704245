#pragma once

#include "platform/AddressSource.h"

namespace nc {

/// The kernel's routing tables and interface list; nothing is sent and no name is looked up
/// (Debian maps the host name to 127.0.1.1).
class LinuxAddressSource final : public AddressSource {
public:
    AddressTables ReadTables(bool ipv6) override;
};

} // namespace nc
