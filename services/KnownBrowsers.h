// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kestrune {

// One installed browser: the program to start and the name the Web Browser dialog shows.
struct KnownBrowser {
    std::string path;
    std::string name;
};
using KnownBrowserList = std::vector<KnownBrowser>;

enum class RegistryHive { LocalMachine, CurrentUser };

// Read access to the system's installation registry. A key or value that cannot be
// read gives an empty text. An empty value name asks for the key's default value.
class IRegistryReader {
public:
    virtual ~IRegistryReader() = default;
    virtual std::string ReadValue(RegistryHive hive, const std::string& key,
                                  const std::string& valueName) const = 0;
};

// The reader of a system without a registry: every value is empty.
class NoRegistry : public IRegistryReader {
public:
    std::string ReadValue(RegistryHive, const std::string&, const std::string&) const override { return {}; }
};

// One way of finding one browser. An empty path means it is not installed.
class IBrowserProbe {
public:
    virtual ~IBrowserProbe() = default;
    virtual std::string DisplayName() const = 0;
    virtual std::string FindPath() const = 0;
};

using BrowserProbeList = std::vector<std::unique_ptr<IBrowserProbe>>;

// The three registry probes, in their fixed order: "Internet Explorer",
// "Netscape Communicator 4", "Netscape Navigator 3".
BrowserProbeList RegistryBrowserProbes(const IRegistryReader& registry);

// The browsers this program knows by command name, looked for in the folders of a
// PATH-style list (folders separated by ':'; empty entries are skipped).
BrowserProbeList SearchPathBrowserProbes(const std::string& searchPath);

// The registry probes followed by the search-path probes.
BrowserProbeList StandardBrowserProbes(const IRegistryReader& registry, const std::string& searchPath);

// Runs the probes in order and keeps every browser whose path is not empty.
KnownBrowserList BuildKnownBrowserList(const BrowserProbeList& probes);
KnownBrowserList BuildKnownBrowserList(const IRegistryReader& registry, const std::string& searchPath);

// The first executable regular file called command in the folders of searchPath, or "".
std::string FindOnSearchPath(const std::string& command, const std::string& searchPath);

}  // namespace kestrune
