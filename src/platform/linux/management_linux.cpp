#include "platform/linux/management_linux.h"

#include "platform/trim.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <dirent.h>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace platform {

namespace {

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Values in /proc and /sys end with a line break, and SMBIOS strings carry padding blanks.
std::string Stripped(const std::string& s) { return Trim(s, kWhitespace); }

std::optional<std::string> ReadLine(const std::string& path) {
    auto text = ReadFile(path);
    if (!text) return std::nullopt;
    return Stripped(*text);
}

std::vector<std::string> List(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            if (e->d_name[0] != '.') names.emplace_back(e->d_name);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// The requested properties of a record built from what is known; names match case-insensitively.
ManagementRecord Select(const std::map<std::string, Property>& known, const std::vector<std::string>& properties) {
    ManagementRecord r;
    for (const std::string& name : properties) {
        auto it = known.find(Lower(name));
        r[name] = it == known.end() ? Property{} : it->second;
    }
    return r;
}

// An SMBIOS structure as the kernel exports it: the formatted area, then its strings.
struct SmbiosEntry {
    std::string raw;
    unsigned length() const { return raw.size() > 1 ? static_cast<unsigned char>(raw[1]) : 0; }
    unsigned byte(size_t at) const { return at < raw.size() && at < length() ? static_cast<unsigned char>(raw[at]) : 0; }
    unsigned word(size_t at) const { return byte(at) | byte(at + 1) << 8; }
    unsigned long dword(size_t at) const { return word(at) | static_cast<unsigned long>(word(at + 2)) << 16; }
    std::string string(size_t at) const {
        unsigned index = byte(at);
        size_t pos = length();
        while (index > 0 && pos < raw.size()) {
            const size_t end = raw.find('\0', pos);
            if (end == std::string::npos) return {};
            if (--index == 0) return Stripped(raw.substr(pos, end - pos));
            pos = end + 1;
        }
        return {};
    }
};

std::vector<SmbiosEntry> SmbiosEntries(const std::string& root, int type) {
    std::vector<SmbiosEntry> entries;
    const std::string dir = root + "sys/firmware/dmi/entries/";
    for (int i = 0;; ++i) {
        auto raw = ReadFile(dir + std::to_string(type) + "-" + std::to_string(i) + "/raw");
        if (!raw) break;
        entries.push_back({*raw});
    }
    return entries;
}

std::string Unquote(std::string v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    return v;
}

// The name a disk goes by: its vendor and model as the kernel reports them. SATA disks all give
// "ATA" as vendor and virtual disks a PCI number, which say nothing; a memory card gives its own
// name; a disk without any of these, its device name.
std::string DiskCaption(const std::string& sysBlockDir, const std::string& dev) {
    std::string vendor = ReadLine(sysBlockDir + "/device/vendor").value_or("");
    if (vendor == "ATA" || vendor.rfind("0x", 0) == 0) vendor.clear();
    std::string model = ReadLine(sysBlockDir + "/device/model").value_or("");
    if (model.empty()) model = ReadLine(sysBlockDir + "/device/name").value_or("");
    const std::string caption = Stripped(vendor + " " + model);
    if (!caption.empty()) return caption;
    if (dev.rfind("vd", 0) == 0) return "Virtual disk " + dev;
    return dev;
}

}  // namespace

double InstalledMemoryBytes(long long memTotalKiB) {
    const double gib = std::ceil(static_cast<double>(memTotalKiB) / (1024.0 * 1024.0));
    return std::max(1.0, gib) * 1024.0 * 1024.0 * 1024.0;
}

ManagementLinux::ManagementLinux(std::string root) : root_(std::move(root)) {
    if (root_.empty() || root_.back() != '/') root_ += '/';
}

std::vector<ManagementRecord> ManagementLinux::operatingSystems() {
    std::map<std::string, Property> known;
    if (auto text = ReadFile(root_ + "etc/os-release")) {
        std::istringstream lines(*text);
        std::string line, name;
        while (std::getline(lines, line)) {
            if (line.rfind("PRETTY_NAME=", 0) == 0) known["caption"] = Property::Of(Unquote(Stripped(line.substr(12))));
            if (line.rfind("NAME=", 0) == 0) name = Unquote(Stripped(line.substr(5)));
        }
        if (!known.count("caption") && !name.empty()) known["caption"] = Property::Of(name);
    }
    return {ManagementRecord(known.begin(), known.end())};
}

std::vector<ManagementRecord> ManagementLinux::processors() {
    // Model names by logical processor number.
    std::map<int, std::string> names;
    if (auto text = ReadFile(root_ + "proc/cpuinfo")) {
        std::istringstream lines(*text);
        std::string line;
        int current = -1;
        while (std::getline(lines, line)) {
            const size_t colon = line.find(':');
            if (colon == std::string::npos) continue;
            const std::string key = Stripped(line.substr(0, colon)), value = Stripped(line.substr(colon + 1));
            if (key == "processor") current = std::atoi(value.c_str());
            if ((key == "model name" || key == "Processor" || key == "cpu model") && current >= 0) names[current] = value;
        }
    }
    // Packages, with their cores and logical processors, from the topology.
    struct Package {
        std::set<std::string> cores;
        int logical = 0;
        std::string name;
    };
    std::map<int, Package> packages;
    const std::string cpus = root_ + "sys/devices/system/cpu/";
    for (const std::string& entry : List(cpus)) {
        if (entry.rfind("cpu", 0) != 0 || entry.size() < 4 || !std::isdigit(static_cast<unsigned char>(entry[3]))) continue;
        const int number = std::atoi(entry.c_str() + 3);
        const auto package = ReadLine(cpus + entry + "/topology/physical_package_id");
        if (!package) continue;  // offline
        Package& p = packages[std::atoi(package->c_str())];
        p.cores.insert(ReadLine(cpus + entry + "/topology/core_id").value_or(entry));
        ++p.logical;
        if (p.name.empty() && names.count(number)) p.name = names[number];
    }
    const std::vector<SmbiosEntry> sockets = SmbiosEntries(root_, 4);
    std::vector<ManagementRecord> result;
    int index = 0;
    for (const auto& [id, p] : packages) {
        std::map<std::string, Property> known;
        known["name"] = Property::Of(p.name.empty() ? (names.empty() ? "Processor" : names.begin()->second) : p.name);
        const std::string socket = index < static_cast<int>(sockets.size()) ? sockets[static_cast<size_t>(index)].string(4) : "";
        known["socketdesignation"] = Property::Of(socket.empty() ? "CPU " + std::to_string(index + 1) : socket);
        known["numberofcores"] = Property::Of(std::to_string(p.cores.size()));
        known["numberoflogicalprocessors"] = Property::Of(std::to_string(p.logical));
        result.push_back(ManagementRecord(known.begin(), known.end()));
        ++index;
    }
    return result;
}

std::vector<ManagementRecord> ManagementLinux::memoryModules() {
    std::vector<ManagementRecord> result;
    for (const SmbiosEntry& e : SmbiosEntries(root_, 17)) {
        unsigned size = e.word(0x0C);
        if (size == 0 || size == 0xFFFF) continue;  // an empty slot, or a size not known
        double bytes;
        if (size == 0x7FFF) bytes = static_cast<double>(e.dword(0x1C)) * 1024 * 1024;
        else if (size & 0x8000) bytes = static_cast<double>(size & 0x7FFF) * 1024;
        else bytes = static_cast<double>(size) * 1024 * 1024;
        std::map<std::string, Property> known;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.0f", bytes);
        known["capacity"] = Property::Of(buf);
        const unsigned configured = e.length() > 0x21 ? e.word(0x20) : 0;
        const unsigned speed = configured ? configured : e.word(0x15);
        known["speed"] = speed ? Property::Of(std::to_string(speed)) : Property::Null();
        result.push_back(ManagementRecord(known.begin(), known.end()));
    }
    if (!result.empty()) return result;
    // The tables are for root only: one module of the total the kernel sees, its speed unknown.
    if (auto text = ReadFile(root_ + "proc/meminfo")) {
        std::istringstream lines(*text);
        std::string key;
        long long kib = 0;
        while (lines >> key) {
            if (key == "MemTotal:") {
                lines >> kib;
                break;
            }
            lines.ignore(1 << 20, '\n');
        }
        if (kib > 0) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.0f", InstalledMemoryBytes(kib));
            result.push_back({{"capacity", Property::Of(buf)}});
        }
    }
    return result;
}

std::vector<ManagementRecord> ManagementLinux::diskDrives() {
    std::vector<ManagementRecord> result;
    const std::string block = root_ + "sys/block/";
    for (const std::string& dev : List(block)) {
        // Virtual devices and optical drives are no disk drives.
        bool skip = false;
        for (const char* prefix : {"loop", "ram", "zram", "dm-", "sr", "md", "nbd", "fd"}) {
            if (dev.rfind(prefix, 0) == 0) skip = true;
        }
        if (skip) continue;
        std::map<std::string, Property> known;
        const long long sectors = std::atoll(ReadLine(block + dev + "/size").value_or("0").c_str());
        const bool removable = ReadLine(block + dev + "/removable").value_or("0") == "1";
        if (sectors == 0 && removable) {
            known["size"] = Property::Null();  // no medium
        } else {
            known["size"] = Property::Of(std::to_string(sectors * 512));
        }
        known["caption"] = Property::Of(DiskCaption(block + dev, dev));
        result.push_back(ManagementRecord(known.begin(), known.end()));
    }
    return result;
}

std::vector<std::string> ManagementLinux::adapters() {
    std::vector<std::string> names;
    for (const std::string& n : List(root_ + "sys/class/net/")) {
        if (n != "lo") names.push_back(n);
    }
    return names;
}

std::optional<std::vector<ManagementRecord>> ManagementLinux::instancesOf(const std::string& className,
                                                                         const std::vector<std::string>& properties) {
    std::vector<ManagementRecord> all;
    if (className == "Win32_OperatingSystem") all = operatingSystems();
    else if (className == "Win32_Processor") all = processors();
    else if (className == "Win32_PhysicalMemory") all = memoryModules();
    else if (className == "Win32_DiskDrive") all = diskDrives();
    else if (className == "Win32_NetworkAdapter") {
        for (size_t i = 0; i < adapters().size(); ++i) all.emplace_back();
    } else {
        return std::nullopt;
    }
    std::vector<ManagementRecord> result;
    for (const ManagementRecord& r : all) {
        std::map<std::string, Property> known;
        for (const auto& [k, v] : r) known[Lower(k)] = v;
        result.push_back(Select(known, properties));
    }
    return result;
}

bool ManagementLinux::instancesOfAsync(const std::string& className, std::function<void()> onInstance) {
    QCoreApplication* loop = QCoreApplication::instance();
    auto instances = instancesOf(className, {});
    if (!loop || !instances) return false;
    // Delivered from the event loop, after the caller has returned.
    for (size_t i = 0; i < instances->size(); ++i) QMetaObject::invokeMethod(loop, onInstance, Qt::QueuedConnection);
    return true;
}

std::optional<ManagementRecord> ManagementLinux::object(const std::string& path, const std::vector<std::string>& properties) {
    const std::string prefix = "Win32_NetworkAdapterConfiguration=";
    if (path.rfind(prefix, 0) != 0) return std::nullopt;
    const int index = std::atoi(path.c_str() + prefix.size());
    const std::vector<std::string> names = adapters();
    if (index < 0 || index >= static_cast<int>(names.size())) return std::nullopt;
    const std::string& name = names[static_cast<size_t>(index)];
    std::map<std::string, Property> known;
    known["description"] = Property::Of(name);
    const std::string mac = ReadLine(root_ + "sys/class/net/" + name + "/address").value_or("");
    known["macaddress"] = mac.empty() || mac == "00:00:00:00:00:00" ? Property::Null() : Property::Of(mac);
    return Select(known, properties);
}

}  // namespace platform
