// Runs the template store on arbitrary input: the first line is the template list, the
// rest the template file. Loads, deletes, renames, moves and saves templates and checks
// that what each operation promises holds afterwards.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "persist/FileAccess.h"
#include "persist/SettingsStore.h"
#include "persist/TemplateStore.h"
#include "persist/TextRoutines.h"

namespace fs = std::filesystem;

namespace {

const fs::path& Folder() {
    static const fs::path folder = [] {
        const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path path = base / ("kestrune-fuzz-template-" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

bool FileHasHeader(const std::string& path, const std::string& name) {
    std::vector<std::string> lines;
    kestrune::ReadLines(path, lines);
    for (const std::string& line : lines)
        if (kestrune::Trim(line) == "[" + name + "]") return true;
    return false;
}

// Titles, menu names and labels in file order, as a template keeps them.
std::string Summary(const kestrune::CAppletParameters& applet) {
    std::string summary = applet.m_HTMLTitle + "\n";
    std::vector<const kestrune::CVorane*> pending;
    for (auto it = applet.m_menus.rbegin(); it != applet.m_menus.rend(); ++it) pending.push_back(it->get());
    while (!pending.empty()) {
        const kestrune::CVorane* menu = pending.back();
        pending.pop_back();
        summary += "[" + menu->m_name + "]";
        for (const auto& item : menu->m_items) summary += kestrune::ReplaceAll(item->m_label, "\t", "    ") + "|";
        for (auto it = menu->m_items.rbegin(); it != menu->m_items.rend(); ++it)
            pending.push_back((*it)->m_subMenu.get());
    }
    return summary;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string list = input.substr(0, newline);
    const std::string file = newline == std::string::npos ? std::string() : input.substr(newline + 1);

    const std::string appDir = Folder().string();
    const std::string path = (Folder() / "Kestrune.tpl").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << file;

    kestrune::MemorySettingsStore settings;
    settings.SetString("TEMPLATE", "TemplateKey", list);
    kestrune::CTemplateStore store(settings, appDir);
    const auto names = store.ListTemplateNames();

    kestrune::CAppletParameters applet;
    for (int position = -1; position <= static_cast<int>(names.size()) && position < 4; ++position)
        store.LoadTemplate(applet, position);

    if (!names.empty()) {
        Check(store.DeleteTemplate(0));
        Check(!FileHasHeader(path, names[0]));
        Check(store.ListTemplateNames().size() + 1 >= names.size());
    }
    const auto afterDelete = store.ListTemplateNames();
    if (!afterDelete.empty()) {
        Check(store.RenameTemplate(0, "Renamed Fz"));
        Check(store.ListTemplateNames().front() == "Renamed Fz");
        if (afterDelete.size() > 1) {
            const auto before = store.ListTemplateNames();
            Check(store.MoveTemplate(0, false));
            Check(store.MoveTemplate(1, true));
            Check(store.ListTemplateNames() == before);
        }
    }
    const bool nameWasThere = FileHasHeader(path, "Saved Fz");
    Check(store.SaveTemplate(applet, "Saved Fz", 1));
    const auto finalNames = store.ListTemplateNames();
    int savedAt = -1;
    for (std::size_t i = 0; i < finalNames.size(); ++i)
        if (finalNames[i] == "Saved Fz") savedAt = static_cast<int>(i);
    Check(savedAt >= 0);
    kestrune::CAppletParameters reread;
    store.LoadTemplate(reread, savedAt);
    Check(nameWasThere || Summary(reread) == Summary(applet));
    return 0;
}
