// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the output tests: scratch folders and small model builders.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <cctype>
#include <fstream>
#include <optional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"

namespace kestrune::test {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
inline std::string MediaBytesFor(const std::string& name, const std::string& rest) {
    std::string extension = fs::path(name).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".gif" || extension == ".jpg" || extension == ".jpeg" || extension == ".png")
        return "GIF89a" + rest;
    if (extension == ".au" || extension == ".snd") return ".snd" + rest;
    return rest;
}

class TempDir {
public:
    TempDir() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_root = fs::temp_directory_path() /
                 ("kestrune-output-" + std::to_string(::getpid()) + "-" + test->test_suite_name() + "-" + test->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& Root() const { return m_root; }
    fs::path operator/(const std::string& relative) const { return m_root / relative; }
    // Creates a file (and its folders) holding content; returns its path as text. Without
    // content, a picture or sound name gets a small file of that kind.
    std::string File(const std::string& relative, const std::optional<std::string>& content = std::nullopt) const {
        const fs::path path = m_root / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << (content ? *content : MediaBytesFor(relative, "media"));
        return path.string();
    }

private:
    fs::path m_root;
};

// Bytes that start like a file of the kind the name's extension says.
inline std::string GifBytes(const std::string& rest) { return "GIF89a" + rest; }
inline std::string AuBytes(const std::string& rest) { return ".snd" + rest; }

inline std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Appends items with the given labels to a menu; returns the first one added.
inline CVoraneItem* AddItems(CVorane& menu, std::initializer_list<const char*> labels) {
    CVoraneItem* first = nullptr;
    for (const char* label : labels) {
        auto item = std::make_unique<CVoraneItem>(label);
        if (!first) first = item.get();
        menu.AddItem(std::move(item), 0);
    }
    return first;
}

// Appends a top-level menu holding the labelled items.
inline CVorane& AddTopMenu(CAppletParameters& applet, std::initializer_list<const char*> labels) {
    applet.AddTopLevelMenu(std::make_unique<CVorane>(), 0);
    CVorane& menu = *applet.m_menus.back();
    AddItems(menu, labels);
    return menu;
}

inline CVoraneItem& ItemAt(const CVorane& menu, int index) { return *menu.GetItem(index); }

// A parameter line as the applet reads it.
inline std::string Param(const std::string& name, const std::string& value) {
    return "\t<param name=\"" + name + "\" value=\"" + value + "\">\r\n";
}

}  // namespace kestrune::test
