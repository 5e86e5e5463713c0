#include "platform/linux/admin_groups.h"

#include <grp.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <vector>

namespace vespar::linux_platform {
namespace {

constexpr std::array<const char*, 3> kAdministratorsGroups = {"sudo", "wheel", "admin"};

// The id of the named group: nothing when there is no such group, false on a lookup failure.
bool LookUpGroup(const char* name, std::optional<gid_t>& id) {
    std::vector<char> buffer(16384);
    for (;;) {
        group entry{};
        group* found = nullptr;
        const int rc = getgrnam_r(name, &entry, buffer.data(), buffer.size(), &found);
        if (rc == ERANGE && buffer.size() < (1u << 24)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        // No such group is reported as success without an entry, or by some sources as
        // ENOENT; both mean the group is absent here.
        if (rc != 0 && rc != ENOENT) return false;
        id.reset();
        if (found != nullptr) id = found->gr_gid;
        return true;
    }
}

}  // namespace

bool IsAdministratorsGroupName(const std::string& name) {
    return std::any_of(kAdministratorsGroups.begin(), kAdministratorsGroups.end(),
                       [&](const char* g) { return name == g; });
}

std::optional<bool> AdminGroups::InAdministratorsGroup() {
    if (geteuid() == 0) return true;
    const int count = getgroups(0, nullptr);
    if (count < 0) return std::nullopt;
    std::vector<gid_t> groups(static_cast<std::size_t>(count) + 1);
    const int read = getgroups(count, groups.data());
    if (read < 0) return std::nullopt;
    groups.resize(static_cast<std::size_t>(read));
    groups.push_back(getegid());
    for (const char* name : kAdministratorsGroups) {
        std::optional<gid_t> id;
        if (!LookUpGroup(name, id)) return std::nullopt;
        if (id && std::find(groups.begin(), groups.end(), *id) != groups.end()) return true;
    }
    return false;
}

}  // namespace vespar::linux_platform
