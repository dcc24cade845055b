// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lcrsim {

// A symbolic link with a stable name that points at the current line's device, so a
// panel can be configured once although each pseudo-terminal gets a new number.
// Removed on destruction, as the device it names goes away with the simulator.
class DeviceLink {
public:
    explicit DeviceLink(std::string linkPath) : m_linkPath(std::move(linkPath)) {}
    ~DeviceLink() { remove(); }
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Creates the link or re-points an existing one atomically. Refuses to replace
    // anything that is not a symbolic link. Throws std::system_error.
    void pointAt(const std::string& target);
    // Removes the link if this object made it; nothing else is touched.
    void remove();

private:
    std::string m_linkPath;
    bool m_made = false;
};

} // namespace lcrsim
