#include "platform/port_survey.h"

#include "platform/dos_devices.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace lexorant {

namespace fs = std::filesystem;

namespace {

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

bool Within(const fs::path& path, const fs::path& root) {
    const auto [r, p] = std::mismatch(root.begin(), root.end(), path.begin(), path.end());
    return r == root.end();
}

std::string AccessText(const PortReport& report) {
    switch (report.access) {
    case PortAccess::Missing:
        return "missing";
    case PortAccess::Free:
        return "exists, free";
    case PortAccess::Busy:
        return "exists, busy (another program holds it)";
    case PortAccess::PermissionDenied:
        return "exists, permission denied: join the group dialout "
               "(sudo usermod -aG dialout $USER, then log in again)";
    case PortAccess::NoSerialLine:
        return "exists, no serial line (" + std::string(std::strerror(report.error)) + ")";
    case PortAccess::Unusable:
        break;
    }
    return "exists, cannot be opened (" + std::string(std::strerror(report.error)) + ")";
}

// The link in the folder that leads to the same device.
std::optional<fs::path> StableNameOf(const fs::path& device, const fs::path& byIdFolder) {
    std::error_code ec;
    for (fs::directory_iterator it(byIdFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code linkEc;
        if (fs::is_symlink(it->path(), linkEc) && fs::canonical(it->path(), linkEc) == device && !linkEc)
            return it->path();
    }
    return std::nullopt;
}

// A word for the shell as it stands: in single quotes, a quote in it as '\''.
std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

PortAccess CheckPortAccess(const fs::path& device, int& error) {
    error = 0;
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        switch (error) {
        case ENOENT:
        case ENOTDIR:
            return PortAccess::Missing;
        case EACCES:
        case EPERM:
            return PortAccess::PermissionDenied;
        case EBUSY: // another holder set TIOCEXCL
            return PortAccess::Busy;
        default:
            return PortAccess::Unusable;
        }
    }
    PortAccess access = PortAccess::Free;
    termios tio{};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        access = PortAccess::Busy; // the lock that this program's serial device takes
    } else if (::tcgetattr(fd, &tio) != 0) {
        error = errno;
        access = PortAccess::NoSerialLine;
    }
    ::close(fd);
    return access;
}

std::optional<UsbAdapter> FindUsbAdapter(const fs::path& sysfsRoot, const std::string& ttyName) {
    std::error_code ec;
    const fs::path root = fs::canonical(sysfsRoot, ec);
    if (ec || ttyName.empty())
        return std::nullopt;
    fs::path folder = fs::canonical(root / "class" / "tty" / ttyName / "device", ec);
    // A tty's device folder is an interface (or the port below it); the USB device is above.
    while (!ec && Within(folder, root) && folder != root) {
        if (fs::exists(folder / "idVendor", ec)) {
            return UsbAdapter{FirstLine(folder / "idVendor"), FirstLine(folder / "idProduct"),
                              FirstLine(folder / "manufacturer"), FirstLine(folder / "product"),
                              FirstLine(folder / "serial")};
        }
        folder = folder.parent_path();
    }
    return std::nullopt;
}

std::vector<PortReport> SurveyPorts(const fs::path& sysfsRoot, const fs::path& byIdFolder) {
    std::vector<PortReport> reports;
    for (int n = 1; n <= 15; ++n) {
        PortReport report;
        report.number = n;
        const std::string name = "COM" + std::to_string(n);
        report.device = SerialDevicePath(name);
        std::error_code ec;
        report.linked = report.device.parent_path() == DeviceFolder();
        if (report.linked && fs::is_symlink(report.device, ec))
            report.device = fs::read_symlink(report.device, ec);
        report.access = CheckPortAccess(SerialDevicePath(name), report.error);
        const fs::path target = fs::canonical(SerialDevicePath(name), ec);
        if (!ec)
            report.usb = FindUsbAdapter(sysfsRoot, target.filename().string());
        if (report.usb)
            report.stableName = StableNameOf(target, byIdFolder);
        reports.push_back(std::move(report));
    }
    return reports;
}

std::string DescribePort(const PortReport& report) {
    std::string line = "COM" + std::to_string(report.number);
    line.resize(7, ' ');
    std::string device = report.device.string() + (report.linked ? " (link)" : "");
    if (device.size() < 30)
        device.resize(30, ' ');
    line += device + " " + AccessText(report);
    if (report.usb) {
        const UsbAdapter& usb = *report.usb;
        line += "; USB " + usb.vendorId + ":" + usb.productId;
        for (const std::string* text : {&usb.manufacturer, &usb.product})
            if (!text->empty())
                line += " " + *text;
        if (!usb.serial.empty())
            line += ", serial " + usb.serial;
    }
    return line;
}

std::string DescribeStableName(const PortReport& report) {
    if (!report.usb || !report.stableName)
        return {};
    const std::string link = (DeviceFolder() / ("com" + std::to_string(report.number))).string();
    return std::string(7, ' ') + "stable name " + report.stableName->string() + "; to use it: ln -sfn " +
           ShellQuoted(report.stableName->string()) + " " + ShellQuoted(link);
}

} // namespace lexorant
