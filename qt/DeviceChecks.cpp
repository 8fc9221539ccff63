#include "qt/DeviceChecks.h"

#include <grp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace toolkit::qt {

namespace {

using Kind = Fault::Kind;

std::string readFirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// The systemd unit a process runs in, from its control group; "" for none.
std::string unitOf(long pid) {
    std::ifstream groups("/proc/" + std::to_string(pid) + "/cgroup");
    for (std::string line; std::getline(groups, line);) {
        const auto end = line.rfind(".service");
        if (end == std::string::npos) continue;
        const auto start = line.rfind('/', end);
        return line.substr(start + 1, end + 8 - start - 1);
    }
    return "";
}

// "picocom, process 1234", or "process 1234" when its name cannot be read;
// with its unit where a service runs it (another gateway's instance, say).
std::string processName(long pid) {
    const std::string name = readFirstLine("/proc/" + std::to_string(pid) + "/comm");
    std::string process = "process " + std::to_string(pid);
    const std::string unit = unitOf(pid);
    if (!unit.empty() && unit.find('@') != std::string::npos) process += " of " + unit;
    return name.empty() ? process : name + ", " + process;
}

bool alive(long pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// A terminal: a pseudo-terminal (majors 136 to 143), or a device the kernel
// files under its tty class.
bool isTerminal(dev_t device) {
    if (major(device) >= 136 && major(device) <= 143) return true;
    char subsystem[PATH_MAX];
    const std::string link = "/sys/dev/char/" + std::to_string(major(device)) + ":" +
                             std::to_string(minor(device)) + "/subsystem";
    const ssize_t length = ::readlink(link.c_str(), subsystem, sizeof subsystem - 1);
    if (length <= 0) return false;
    subsystem[length] = '\0';
    const std::string target(subsystem);
    return target.size() >= 4 && target.compare(target.size() - 4, 4, "/tty") == 0;
}

FileKind whatItIs(mode_t mode) {
    if (S_ISDIR(mode)) return FileKind::Folder;
    if (S_ISREG(mode)) return FileKind::RegularFile;
    if (S_ISCHR(mode)) return FileKind::OtherDevice;
    if (S_ISBLK(mode)) return FileKind::BlockDevice;
    if (S_ISFIFO(mode)) return FileKind::Pipe;
    if (S_ISSOCK(mode)) return FileKind::Socket;
    return FileKind::Unknown;
}

// The user could use the device by joining the dialout group: it belongs to
// that group, the group may read and write it, and the user is not in it.
bool dialoutWouldHelp(const struct stat& status) {
    const group* dialout = ::getgrnam("dialout");
    if (!dialout || status.st_gid != dialout->gr_gid) return false;
    if ((status.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP)) return false;
    if (::getegid() == dialout->gr_gid) return false;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    if (count > 0 && ::getgroups(count, groups.data()) < 0) return true;
    return std::find(groups.begin(), groups.end(), dialout->gr_gid) == groups.end();
}

// The names lock files are given: Qt's, from the path with "/dev/" taken off
// and the other slashes made underscores, and the classic one, from the
// device node's own name.
std::vector<std::string> lockNames(const std::string& path) {
    const auto qtStyle = [](std::string location) {
        if (location.rfind("/dev/", 0) == 0) location.erase(0, 5);
        std::replace(location.begin(), location.end(), '/', '_');
        return "LCK.." + location;
    };
    std::vector<std::string> names{qtStyle(path)};
    if (char* canonical = ::realpath(path.c_str(), nullptr)) {
        const std::string node(canonical);
        std::free(canonical);
        names.push_back(qtStyle(node));
        names.push_back("LCK.." + node.substr(node.rfind('/') + 1));
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

// Another live program's lock file for the device.
std::optional<std::string> lockFileHolder(const std::string& path) {
    for (const std::string& name : lockNames(path)) {
        for (const char* folder : {"/run/lock/", "/var/lock/"}) {
            std::ifstream file(folder + name);
            if (!file) continue;
            std::string text((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
            long pid = 0;
            if (text.size() == sizeof(int)) {
                int binary = 0;  // some old programs write the number as it is in memory
                std::memcpy(&binary, text.data(), sizeof binary);
                pid = binary;
            } else {
                std::istringstream(text) >> pid;
            }
            if (pid != ::getpid() && alive(pid)) return processName(pid);
        }
    }
    return std::nullopt;
}

// Who holds a flock on the device, from /proc/locks.
std::string flockHolder(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return "";
    char where[64];
    std::snprintf(where, sizeof where, "%02x:%02x:%lu", major(status.st_dev), minor(status.st_dev),
                  static_cast<unsigned long>(status.st_ino));
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, type, advisory, mode, file;
        long pid = 0;
        fields >> number >> type >> advisory >> mode >> pid >> file;
        if (type == "FLOCK" && file == where) return processName(pid);
    }
    return "";
}

}  // namespace

std::optional<Fault> pathProblem(const std::string& path) {
    Fault fault;
    fault.device = path;
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) {
        const int error = path.empty() ? ENOENT : errno;
        fault.kind = error == ENOENT || error == ENOTDIR ? Kind::NoSuchDevice : Kind::CannotOpen;
        fault.detail = std::strerror(error);
        return fault;
    }
    if (!S_ISCHR(status.st_mode) || !isTerminal(status.st_rdev)) {
        fault.kind = Kind::NotSerial;
        fault.file = whatItIs(status.st_mode);
        return fault;
    }
    if (::access(path.c_str(), R_OK | W_OK) != 0) {
        fault.kind = Kind::Permission;
        fault.detail = std::strerror(errno);
        fault.dialoutHelps = dialoutWouldHelp(status);
        return fault;
    }
    if (auto holder = lockFileHolder(path)) {
        fault.kind = Kind::InUse;
        fault.holder = *holder;
        return fault;
    }
    return std::nullopt;
}

std::optional<std::string> holdDevice(int fd, const std::string& path) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) return std::nullopt;
    return flockHolder(path);
}

}  // namespace toolkit::qt
