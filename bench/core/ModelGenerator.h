// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Generated models for benchmarks: menus of ten items opening sub menus four levels
// deep, with hidden items, multi-line labels, links and media paths of every kind
// (present, present in another letter case, missing).

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"

namespace kestrune::bench {

inline constexpr int kFanOut = 10;
inline constexpr int kMaxDepth = 3;

// A folder of media files for generated models, removed when the object goes.
class MediaFolder {
public:
    explicit MediaFolder(int unrelatedFiles = 200)
        : m_path(std::filesystem::temp_directory_path() / ("kestrune-bench-media-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(m_path);
        // Each starts like what it is, as saves copy nothing else.
        for (const char* name : {"home.gif", "Over.GIF", "click.jpg", "hover.au", "press.au"})
            std::ofstream(m_path / name) << (std::string(name).ends_with(".au") ? ".snd " : "GIF89a ") << name;
        for (int i = 0; i < unrelatedFiles; ++i) std::ofstream(m_path / ("other" + std::to_string(i) + ".gif")) << i;
    }
    ~MediaFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    MediaFolder(const MediaFolder&) = delete;
    MediaFolder& operator=(const MediaFolder&) = delete;

    std::string Path(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& Folder() const { return m_path; }

private:
    std::filesystem::path m_path;
};

namespace detail {

inline void DecorateItem(CVoraneItem& item, int serial, const MediaFolder* media) {
    item.m_label = serial % 5 == 0 ? "Item " + std::to_string(serial) + "\r\nsecond line" : "Item " + std::to_string(serial);
    item.m_link = "page" + std::to_string(serial) + ".html";
    if (serial % 3 == 0) item.m_target = "_blank";
    if (serial % 7 == 6) item.m_visible = 0;
    if (!media) return;
    item.m_normalImage = media->Path("home.gif");
    item.m_overImage = media->Path("over.gif");  // found as Over.GIF
    if (serial % 4 == 0) item.m_clickImage = media->Path("click.jpg");
    item.m_overAudio = media->Path("hover.au");
    if (serial % 10 == 0) item.m_clickAudio = media->Path("missing" + std::to_string(serial % 50) + ".au");
}

// Adds items to menu and, depth first, to their sub menus until budget runs out.
inline void FillMenu(CVorane& menu, int& budget, int& serial, int depth, const MediaFolder* media) {
    const int count = std::min(kFanOut, budget);
    for (int i = 0; i < count; ++i) {
        auto item = std::make_unique<CVoraneItem>();
        DecorateItem(*item, serial++, media);
        menu.AddItem(std::move(item), 0);
    }
    budget -= count;
    menu.m_xPos = depth == 0 ? 40 : 60;
    menu.m_yPos = depth == 0 ? 15 : 5;
    if (depth % 2 == 1) menu.m_MenuAlign = 1;
    if (depth >= kMaxDepth) return;
    for (auto& item : menu.m_items) {
        if (budget <= 0) return;
        FillMenu(*item->m_subMenu, budget, serial, depth + 1, media);
    }
}

}  // namespace detail

// Fills an applet (reset first) with itemCount items in as many top-level menus as needed.
inline void GenerateApplet(CAppletParameters& applet, int itemCount, const MediaFolder* media = nullptr) {
    applet.Reset();
    int budget = itemCount;
    int serial = 0;
    while (budget > 0) {
        auto menu = std::make_unique<CVorane>();
        detail::FillMenu(*menu, budget, serial, 0, media);
        applet.AddTopLevelMenu(std::move(menu), 0);
    }
    if (media) applet.m_appBKImagePath = media->Path("HOME.GIF");
}

// One item with itemCount items below it: what a clipboard copy of a large branch holds.
inline std::unique_ptr<CVoraneItem> GenerateItemTree(int itemCount, const MediaFolder* media = nullptr) {
    auto root = std::make_unique<CVoraneItem>("root");
    int budget = itemCount;
    int serial = 0;
    while (budget > 0) {
        auto branch = std::make_unique<CVoraneItem>();
        detail::DecorateItem(*branch, serial++, media);
        --budget;
        detail::FillMenu(*branch->m_subMenu, budget, serial, 1, media);
        root->m_subMenu->AddItem(std::move(branch), 0);
    }
    return root;
}

// The number of items below (not counting) the given menu.
inline int CountAllItems(const CVorane& menu) {
    int count = 0;
    for (const auto& item : menu.m_items) count += 1 + CountAllItems(*item->m_subMenu);
    return count;
}

}  // namespace kestrune::bench
