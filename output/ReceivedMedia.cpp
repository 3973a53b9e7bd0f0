// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/ReceivedMedia.h"

namespace kestrune {

ReceivedMedia::Id ReceivedMedia::Use(const std::string& storedPath, MediaFileSearch& search) {
    if (storedPath.empty()) return kNone;
    const auto found = search.Find(storedPath);
    if (!found) return kNone;
    std::string path = found->path.string();
    std::string key = found->name + '\0' + path;
    auto [slot, added] = m_ids.try_emplace(std::move(key), static_cast<Id>(m_files.size()));
    if (added) {
        m_files.push_back(File{found->name, std::move(path), 0});
        m_names[found->name].files.push_back(slot->second);
    }
    Count(slot->second, +1);
    return slot->second;
}

void ReceivedMedia::UseAgain(Id id) {
    if (id != kNone) Count(id, +1);
}

void ReceivedMedia::Release(Id id) {
    if (id != kNone) Count(id, -1);
}

void ReceivedMedia::Count(Id id, int delta) {
    File& file = m_files[id];
    Name& name = m_names[file.name];
    if (m_editing) m_touched.try_emplace(file.name, Touched{name.uses, name.filesInUse});
    const int filesBefore = name.filesInUse;
    if (file.uses == 0 && delta > 0) ++name.filesInUse;
    file.uses += delta;
    name.uses += delta;
    if (file.uses == 0 && delta < 0) --name.filesInUse;
    // The first use of a name in the model's order names its file.
    if (name.uses > 0 && name.first.empty()) name.first = file.path;
    if (name.uses == 0) name.first.clear();
    m_namesWithTwoFiles += (name.filesInUse > 1) - (filesBefore > 1);
}

std::string ReceivedMedia::Resolve(const std::string& name) const {
    const auto found = m_names.find(name);
    return found != m_names.end() && found->second.uses > 0 ? found->second.first : name;
}

void ReceivedMedia::BeginEdit() {
    m_editing = true;
    m_touched.clear();
}

bool ReceivedMedia::EndEdit(const std::unordered_map<std::string, int>& lookupsElsewhere) {
    m_editing = false;
    bool local = true;
    for (const auto& [text, before] : m_touched) {
        Name& name = m_names[text];
        if (before.filesBefore > 1 || name.filesInUse > 1) local = false;
        const bool cameOrWent = (before.usesBefore > 0) != (name.uses > 0);
        if (cameOrWent && lookupsElsewhere.count(text)) local = false;
        // With one file left, that file stands for the name whatever the order.
        if (name.filesInUse == 1)
            for (const Id id : name.files)
                if (m_files[id].uses > 0) name.first = m_files[id].path;
    }
    m_touched.clear();
    return local;
}

}  // namespace kestrune
