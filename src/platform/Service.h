#pragma once

namespace nc {

/// Base of every platform service: services are handed around by reference, never copied.
class Service {
public:
    Service() = default;
    virtual ~Service() = default;
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;
};

} // namespace nc
