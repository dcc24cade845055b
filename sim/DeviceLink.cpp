// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceLink.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace lcrsim {

void DeviceLink::pointAt(const std::string& target) {
    if (m_linkPath.empty())
        return;
    struct stat existing {};
    if (::lstat(m_linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode))
        throw std::system_error(EEXIST, std::generic_category(),
                                m_linkPath + " exists and is not a symbolic link");

    // Make the new link beside the old one and rename it over, so the name never
    // dangles while a panel might look at it.
    const std::string temporary = m_linkPath + ".lcrsim-" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), "symlink " + temporary);
    if (::rename(temporary.c_str(), m_linkPath.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw std::system_error(error, std::generic_category(), "rename to " + m_linkPath);
    }
    m_made = true;
}

void DeviceLink::remove() {
    struct stat existing {};
    if (m_made && ::lstat(m_linkPath.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode))
        ::unlink(m_linkPath.c_str());
    m_made = false;
}

} // namespace lcrsim
