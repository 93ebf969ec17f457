#pragma once
// Makes a device reachable under a COM port name: a "comN" link in the program's device folder.
#include <filesystem>
#include <string>

namespace lexorant::sim {

class ComLink {
public:
    // portName "com1" to "com15", any case. Creates the device folder and replaces an existing
    // link of that name. Throws std::invalid_argument for another name, and
    // std::filesystem::filesystem_error when the link cannot be made.
    ComLink(const std::string& portName, const std::filesystem::path& target);
    // Removes the link, unless something else has replaced it meanwhile.
    ~ComLink();
    ComLink(const ComLink&) = delete;
    ComLink& operator=(const ComLink&) = delete;

    const std::filesystem::path& Path() const { return link_; }

private:
    std::filesystem::path link_;
    std::filesystem::path target_;
};

} // namespace lexorant::sim
