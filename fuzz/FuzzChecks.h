// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The properties the fuzz targets check, shared with the regression tests that replay
// the inputs the fuzzers found. Each returns false when a property does not hold.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "base/FileAccess.h"
#include "persist/InOrderMenuReader.h"
#include "persist/KeyTable.h"
#include "persist/MenuFileReader.h"
#include "persist/MenuFileText.h"
#include "common/MemorySettingsStore.h"
#include "services/TemplateStore.h"
#include "base/TextRoutines.h"

namespace kestrune::fuzz {

inline std::string DocumentText(CAppletParameters& applet) {
    MenuSectionForm form;
    form.section = "Vorane2.0";
    return FormatMenuSection(applet, form);
}

// Any bytes read as a menu file (either layout; also as a template section) give a
// model whose written text reads back to the same text.
inline bool MenuFileRoundTripHolds(std::string_view text) {
    CKeyTable table;
    table.Parse(std::string(text));
    CAppletParameters asTemplate;
    LoadMenuTable(asTemplate, table, "T", true, "/app");

    CAppletParameters applet;
    LoadMenuTable(applet, table, "Vorane2.0", false, "");
    // The line's last field cannot keep trailing blanks: lines are trimmed when read.
    applet.m_appBKAudioPath = Trim(applet.m_appBKAudioPath);
    const std::string first = DocumentText(applet);
    CKeyTable again;
    again.Parse(first);
    CAppletParameters reread;
    LoadMenuTable(reread, again, "Vorane2.0", false, "");
    return DocumentText(reread) == first;
}

// Any bytes as a document's menu file in memory: when the front-to-back reader takes them,
// its model and warnings are the ones the key table gives.
inline bool InOrderReadAgreesWithTable(std::string_view text) {
    CAppletParameters inOrder;
    std::vector<std::string> warnings;
    if (ReadMenuTextInOrder(inOrder, text, "Vorane2.0", &warnings) != InOrderRead::Done) return true;
    CKeyTable table;
    table.Parse(std::string(text));
    CAppletParameters viaTable;
    std::vector<std::string> tableWarnings;
    LoadMenuTable(viaTable, table, "Vorane2.0", false, "", &tableWarnings);
    return DocumentText(inOrder) == DocumentText(viaTable) && warnings == tableWarnings;
}

// The same bytes as a file on disk: the file readers give what the readers of the bytes
// give, so reading in chunks, opening safely and the whole-file reads lose nothing.
inline bool FileReadAgreesWithMemory(std::string_view text, const std::filesystem::path& folder) {
    const std::string path = (folder / "menu.kst").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(text.size()));
    std::string whole;
    if (!ReadWholeFile(path, whole) || whole != text) return false;
    std::vector<std::string> lines;
    std::vector<std::string> memoryLines;
    ForEachLine(text, [&](std::string_view line) { memoryLines.emplace_back(line); });
    if (!ReadLines(path, lines) || lines != memoryLines) return false;

    CAppletParameters fromFile;
    std::vector<std::string> fileWarnings;
    if (!LoadMenuFile(fromFile, path, "Vorane2.0", false, "", nullptr, &fileWarnings)) return true;
    CAppletParameters fromText;
    std::vector<std::string> textWarnings;
    if (ReadMenuTextInOrder(fromText, text, "Vorane2.0", &textWarnings) != InOrderRead::Done) {
        CKeyTable table;
        table.Parse(std::string(text));
        LoadMenuTable(fromText, table, "Vorane2.0", false, "", &textWarnings);
    }
    return DocumentText(fromFile) == DocumentText(fromText) && fileWarnings == textWarnings;
}

// A clipboard record that reads is written again and reads back to the same bytes.
inline bool ItemRecordRoundTripHolds(const std::uint8_t* data, std::size_t size) {
    auto item = ReadItemRecord(data, size);
    if (!item) return true;
    const auto bytes = WriteItemRecord(*item);
    auto again = ReadItemRecord(bytes.data(), bytes.size());
    return again && WriteItemRecord(*again) == bytes;
}

namespace detail {

inline bool FileHasHeader(const std::string& path, const std::string& name) {
    std::vector<std::string> lines;
    ReadLines(path, lines);
    for (const std::string& line : lines)
        if (Trim(line) == "[" + name + "]") return true;
    return false;
}

// Titles, menu names and labels in file order, as a template keeps them.
inline std::string Summary(const CAppletParameters& applet) {
    std::string summary = applet.m_HTMLTitle + "\n";
    std::vector<const CVorane*> pending;
    for (auto it = applet.m_menus.rbegin(); it != applet.m_menus.rend(); ++it) pending.push_back(it->get());
    while (!pending.empty()) {
        const CVorane* menu = pending.back();
        pending.pop_back();
        summary += "[" + menu->m_name + "]";
        for (const auto& item : menu->m_items) summary += ReplaceAll(item->m_label, "\t", "    ") + "|";
        for (auto it = menu->m_items.rbegin(); it != menu->m_items.rend(); ++it)
            pending.push_back((*it)->m_subMenu.get());
    }
    return summary;
}

}  // namespace detail

// Runs the template store in folder on input whose first line is the template list and
// whose rest is the template file: loads, deletes, renames, moves and saves templates and
// checks what each operation promises.
inline bool TemplateOperationsHold(std::string_view input, const std::filesystem::path& folder) {
    const std::size_t newline = input.find('\n');
    const std::string list(input.substr(0, newline));
    const std::string file = newline == std::string_view::npos ? std::string() : std::string(input.substr(newline + 1));

    const std::string path = (folder / "Kestrune.tpl").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << file;

    MemorySettingsStore settings;
    settings.SetString("TEMPLATE", "TemplateKey", list);
    CTemplateStore store(settings, folder.string());
    const auto names = store.ListTemplateNames();

    CAppletParameters applet;
    for (int position = -1; position <= static_cast<int>(names.size()) && position < 4; ++position)
        store.LoadTemplate(applet, position);

    if (!names.empty()) {
        if (!store.DeleteTemplate(0) || detail::FileHasHeader(path, names[0])) return false;
        if (store.ListTemplateNames().size() + 1 < names.size()) return false;
    }
    const auto afterDelete = store.ListTemplateNames();
    if (!afterDelete.empty()) {
        if (!store.RenameTemplate(0, "Renamed Fz") || store.ListTemplateNames().front() != "Renamed Fz") return false;
        if (afterDelete.size() > 1) {
            const auto before = store.ListTemplateNames();
            if (!store.MoveTemplate(0, false) || !store.MoveTemplate(1, true)) return false;
            if (store.ListTemplateNames() != before) return false;
        }
    }
    const bool nameWasThere = detail::FileHasHeader(path, "Saved Fz");
    if (!store.SaveTemplate(applet, "Saved Fz", 1)) return false;
    // Positions count raw fields: an empty name hides later ones from the listing only.
    const std::string finalList = settings.GetString("TEMPLATE", "TemplateKey");
    const auto fields = SplitFields(finalList, ',');
    int savedAt = -1;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i] == "Saved Fz") savedAt = static_cast<int>(i);
    if (savedAt < 0) return false;
    CAppletParameters reread;
    store.LoadTemplate(reread, savedAt);
    return nameWasThere || detail::Summary(reread) == detail::Summary(applet);
}

}  // namespace kestrune::fuzz
