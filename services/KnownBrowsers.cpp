// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/KnownBrowsers.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace kestrune {

namespace fs = std::filesystem;

namespace {

constexpr const char* kNetscapeProgram = "\\Program\\Netscape.exe";
constexpr const char* kInstallDirectory = "Install Directory";

class RegistryProbe : public IBrowserProbe {
public:
    RegistryProbe(const IRegistryReader& registry, std::string name) : m_registry(registry), m_name(std::move(name)) {}
    std::string DisplayName() const override { return m_name; }

protected:
    const IRegistryReader& m_registry;

private:
    std::string m_name;
};

class InternetExplorerProbe : public RegistryProbe {
public:
    explicit InternetExplorerProbe(const IRegistryReader& registry) : RegistryProbe(registry, "Internet Explorer") {}
    std::string FindPath() const override {
        return m_registry.ReadValue(RegistryHive::LocalMachine,
                                    "SOFTWARE\\Microsoft\\windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE", "");
    }
};

class Netscape4Probe : public RegistryProbe {
public:
    explicit Netscape4Probe(const IRegistryReader& registry) : RegistryProbe(registry, "Netscape Communicator 4") {}
    // A found version with a missing install folder still yields the bare program suffix.
    std::string FindPath() const override {
        const std::string version =
            m_registry.ReadValue(RegistryHive::LocalMachine, "SOFTWARE\\Netscape\\Netscape Navigator", "CurrentVersion");
        if (version.empty()) return {};
        const std::string folder = m_registry.ReadValue(
            RegistryHive::LocalMachine, "SOFTWARE\\Netscape\\Netscape Navigator\\" + version + "\\Main",
            kInstallDirectory);
        return folder + kNetscapeProgram;
    }
};

class Netscape3Probe : public RegistryProbe {
public:
    explicit Netscape3Probe(const IRegistryReader& registry) : RegistryProbe(registry, "Netscape Navigator 3") {}
    std::string FindPath() const override {
        const std::string folder = m_registry.ReadValue(
            RegistryHive::CurrentUser, "SOFTWARE\\Netscape\\Netscape Navigator\\Main", kInstallDirectory);
        if (folder.empty()) return {};
        return folder + kNetscapeProgram;
    }
};

// A browser known by its command names; the first one found on the search path wins.
class SearchPathProbe : public IBrowserProbe {
public:
    SearchPathProbe(std::string name, std::vector<std::string> commands, const std::string& searchPath)
        : m_name(std::move(name)), m_commands(std::move(commands)), m_searchPath(searchPath) {}
    std::string DisplayName() const override { return m_name; }
    std::string FindPath() const override {
        for (const std::string& command : m_commands)
            if (std::string path = FindOnSearchPath(command, m_searchPath); !path.empty()) return path;
        return {};
    }

private:
    std::string m_name;
    std::vector<std::string> m_commands;
    std::string m_searchPath;
};

bool IsExecutableFile(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::is_regular_file(status)) return false;
    constexpr fs::perms anyExecute = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return (status.permissions() & anyExecute) != fs::perms::none;
}

struct BrowserCommands {
    const char* name;
    std::vector<std::string> commands;
};

const std::vector<BrowserCommands>& KnownCommandBrowsers() {
    static const std::vector<BrowserCommands> browsers = {
        {"Firefox", {"firefox", "firefox-esr"}},
        {"Chromium", {"chromium", "chromium-browser"}},
        {"Google Chrome", {"google-chrome", "google-chrome-stable"}},
        {"Falkon", {"falkon"}},
        {"Konqueror", {"konqueror"}},
        {"Epiphany", {"epiphany", "epiphany-browser"}},
    };
    return browsers;
}

}  // namespace

std::string FindOnSearchPath(const std::string& command, const std::string& searchPath) {
    if (command.empty() || command.find('/') != std::string::npos) return {};
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos) end = searchPath.size();
        const std::string folder = searchPath.substr(start, end - start);
        // An empty entry would mean the current folder; a browser is never taken from there.
        if (!folder.empty() && folder.front() == '/') {
            const fs::path candidate = fs::path(folder) / command;
            if (IsExecutableFile(candidate)) return candidate.string();
        }
        start = end + 1;
    }
    return {};
}

BrowserProbeList RegistryBrowserProbes(const IRegistryReader& registry) {
    BrowserProbeList probes;
    probes.push_back(std::make_unique<InternetExplorerProbe>(registry));
    probes.push_back(std::make_unique<Netscape4Probe>(registry));
    probes.push_back(std::make_unique<Netscape3Probe>(registry));
    return probes;
}

BrowserProbeList SearchPathBrowserProbes(const std::string& searchPath) {
    BrowserProbeList probes;
    for (const BrowserCommands& browser : KnownCommandBrowsers())
        probes.push_back(std::make_unique<SearchPathProbe>(browser.name, browser.commands, searchPath));
    return probes;
}

BrowserProbeList StandardBrowserProbes(const IRegistryReader& registry, const std::string& searchPath) {
    BrowserProbeList probes = RegistryBrowserProbes(registry);
    for (auto& probe : SearchPathBrowserProbes(searchPath)) probes.push_back(std::move(probe));
    return probes;
}

KnownBrowserList BuildKnownBrowserList(const BrowserProbeList& probes) {
    KnownBrowserList list;
    for (const auto& probe : probes)
        if (std::string path = probe->FindPath(); !path.empty()) list.push_back({std::move(path), probe->DisplayName()});
    return list;
}

KnownBrowserList BuildKnownBrowserList(const IRegistryReader& registry, const std::string& searchPath) {
    return BuildKnownBrowserList(StandardBrowserProbes(registry, searchPath));
}

}  // namespace kestrune
