// SPDX-License-Identifier: GPL-3.0-or-later
#include "persist/InOrderMenuReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>

#include "base/FileAccess.h"
#include "base/SafeFile.h"
#include "base/TaskProgress.h"
#include "base/TextRoutines.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "persist/MenuFileParts.h"
#include "persist/MenuFileReader.h"
#include "persist/PersistTexts.h"

namespace kestrune {

namespace {

// The non-blank lines of a file, trimmed, read in chunks, or of a text already in memory:
// a line is cut where the key table cuts it (at CR, LF or CR LF), and blank lines, which
// the table skips, are skipped. A line handed out stays valid until the next one is asked for.
class LineStream {
public:
    explicit LineStream(TaskProgress* progress) : m_progress(progress) {}
    // The whole text is there: nothing is read or copied.
    explicit LineStream(std::string_view text)
        : m_progress(nullptr), m_data(text.empty() ? "" : text.data()), m_end(text.size()), m_read(text.size()),
          m_atEnd(true) {}

    bool Open(const std::string& path) {
        FileCheck status = FileCheck::Ok;
        m_file = OpenRegularFile(std::filesystem::path(path), status);
        if (!m_file.IsOpen()) return false;
        struct stat info {};
        if (::fstat(m_file.Get(), &info) != 0 || static_cast<std::uint64_t>(info.st_size) > kMaxMenuFileBytes)
            return false;
        m_size = static_cast<std::uint64_t>(info.st_size);
        if (m_progress) m_progress->SetTotal(m_size);
        m_buffer.reset(new char[kChunk]);
        m_data = m_buffer.get();
        m_capacity = kChunk;
        return true;
    }

    bool Next(std::string_view& line) {
        for (;;) {
            const char* start = m_data + m_begin;
            const std::size_t available = m_end - m_begin;
            const std::size_t length = LineLength(start, available);
            if (length == available && !m_atEnd) {
                if (!Fill()) return false;
                continue;
            }
            if (available == 0) return false;
            m_begin += length == available ? length : length + 1;
            line = TrimView(std::string_view(start, length));
            if (!line.empty()) return true;
        }
    }

    bool Cancelled() const { return m_cancelled; }
    bool Failed() const { return m_failed; }
    std::uint64_t BytesRead() const { return m_read; }

private:
    static constexpr std::size_t kChunk = std::size_t{1} << 16;

    static std::size_t LineLength(const char* start, std::size_t available) {
        const void* lineFeed = std::memchr(start, '\n', available);
        const std::size_t limit = lineFeed ? static_cast<const char*>(lineFeed) - start : available;
        const void* carriageReturn = std::memchr(start, '\r', limit);
        return carriageReturn ? static_cast<const char*>(carriageReturn) - start : limit;
    }

    // Reads more bytes after the unfinished line; false when reading has to stop.
    bool Fill() {
        if (m_progress) {
            if (m_progress->Cancelled()) {
                m_cancelled = true;
                return false;
            }
            m_progress->SetDone(m_read);
        }
        const std::size_t kept = m_end - m_begin;
        if (m_begin > 0) std::memmove(m_buffer.get(), m_buffer.get() + m_begin, kept);
        m_begin = 0;
        m_end = kept;
        if (m_end == m_capacity) {  // one line longer than the buffer
            std::unique_ptr<char[]> larger(new char[2 * m_capacity]);
            std::memcpy(larger.get(), m_buffer.get(), m_end);
            m_buffer = std::move(larger);
            m_data = m_buffer.get();
            m_capacity *= 2;
        }
        for (;;) {
            const ssize_t got = ::read(m_file.Get(), m_buffer.get() + m_end, m_capacity - m_end);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                m_failed = true;
                return false;
            }
            if (got == 0) {
                m_atEnd = true;
                return true;
            }
            m_end += static_cast<std::size_t>(got);
            m_read += static_cast<std::uint64_t>(got);
            // The file grew past the cap while being read: the table reader says so.
            if (m_read > kMaxMenuFileBytes) {
                m_failed = true;
                return false;
            }
            return true;
        }
    }

    TaskProgress* m_progress;
    FileHandle m_file;
    std::unique_ptr<char[]> m_buffer;
    const char* m_data = nullptr;  // the buffer, or the text held in memory
    std::size_t m_capacity = 0;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    std::uint64_t m_size = 0;
    std::uint64_t m_read = 0;
    bool m_atEnd = false;
    bool m_failed = false;
    bool m_cancelled = false;
};

// Whether key is prefix followed by number, written as the writer writes it.
bool IsNumberedKey(std::string_view key, std::string_view prefix, std::size_t number) {
    if (!key.starts_with(prefix)) return false;
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    return key.substr(prefix.size()) == std::string_view(digits, static_cast<std::size_t>(end - digits));
}

bool IsItemKey(std::string_view key, std::size_t menu, std::size_t position) {
    const std::string_view prefix = texts::kKeyItemPrefix;
    const std::size_t dash = key.find('-', prefix.size());
    return dash != std::string_view::npos && IsNumberedKey(key.substr(0, dash), prefix, menu) &&
           IsNumberedKey(key.substr(dash), "-", position);
}

// Takes the lines one by one as the next ones the writer writes, building the menus as
// the table reader would build them from the same lines.
class InOrderMenus {
public:
    explicit InOrderMenus(const std::string& section) : m_header("[" + section + "]") {}

    // False when the line is not the one that may come next.
    bool Take(std::string_view line) {
        if (m_expect == Expect::Header) {
            m_expect = Expect::AppletStyle;
            return line == m_header;
        }
        std::string_view key;
        std::string_view value;
        SplitEntry(line, key, value);
        switch (m_expect) {
            case Expect::AppletStyle:
                m_appletStyle = value;
                m_expect = Expect::Notice;
                return key == texts::kKeyApStyle;
            case Expect::Notice:
                // A blank signature makes it a file of the older layout.
                m_expect = Expect::MenuOrMisc;
                return key == texts::kKeyNotice && !ExtractField(value, 0, ',').empty();
            case Expect::ItemStyles:
                if (!IsNumberedKey(key, texts::kKeyIStylePrefix, MenusRead())) return false;
                if (m_itemsLine != value || MenusRead() == 0) ReadItemStyles(m_style, value);
                m_itemsLine = value;
                m_read.firstItem.push_back(m_read.items.size());
                m_expect = Expect::ItemOrNext;
                return true;
            case Expect::ItemOrNext:
                if (IsItemKey(key, MenusRead() - 1, m_read.items.size() - m_read.firstItem.back() + 1)) {
                    AddItem(value);
                    return true;
                }
                [[fallthrough]];
            case Expect::MenuOrMisc:
                return TakeMenuOrMisc(key, value);
            case Expect::Header:
            case Expect::End:
                break;
        }
        return false;
    }

    bool Complete() const { return m_expect == Expect::End; }

    // Fills the model when "Misc" asks for exactly the menus and items read; false, with
    // the model untouched, when the key table would give something else.
    bool Fill(CAppletParameters& applet, std::uint64_t textSize, std::vector<std::string>* warnings) {
        if (m_misc.empty()) {
            if (MenusRead() != 0) return false;
            applet.Reset();
            ReadAppletStyle(applet, m_appletStyle, MediaPrefixes{});
            return true;
        }
        MenuPlan plan(m_misc, static_cast<std::size_t>(textSize));
        if (plan.MenuCount() != MenusRead() || plan.OverCeiling()) return false;
        for (std::size_t k = 0; k < MenusRead(); ++k) {
            const std::size_t end = k + 1 < MenusRead() ? m_read.firstItem[k + 1] : m_read.items.size();
            if (plan.TakeItemCount(k) != end - m_read.firstItem[k]) return false;
        }
        applet.Reset();
        ReadAppletStyle(applet, m_appletStyle, MediaPrefixes{});
        WarnAboutLinkOutcome(LinkMenus(applet, m_read, plan), warnings);
        return true;
    }

private:
    enum class Expect { Header, AppletStyle, Notice, MenuOrMisc, ItemStyles, ItemOrNext, End };

    std::size_t MenusRead() const { return m_read.firstItem.size(); }

    bool TakeMenuOrMisc(std::string_view key, std::string_view value) {
        if (m_expect == Expect::ItemOrNext) FinishMenu();
        if (key == texts::kKeyMisc) {
            m_misc = value;
            m_expect = Expect::End;
            return true;
        }
        if (!IsNumberedKey(key, texts::kKeyMStylePrefix, MenusRead())) return false;
        if (m_menuLine != value || MenusRead() == 0) ReadMenuStyle(m_style, value);
        m_menuLine = value;
        m_expect = Expect::ItemStyles;
        return true;
    }

    void AddItem(std::string_view value) {
        if (!m_menu) m_menu = std::make_unique<CVorane>(m_style);
        auto item = std::make_unique<CVoraneItem>();
        ReadItem(*item, value, MediaPrefixes{});
        m_read.items.push_back(item.get());
        m_menu->AddItem(std::move(item), 0);
    }

    void FinishMenu() {
        if (!m_menu && !IsUntouchedEmptyMenu(m_style)) m_menu = std::make_unique<CVorane>(m_style);
        m_read.Add(std::move(m_menu));
    }

    const std::string m_header;
    Expect m_expect = Expect::Header;
    std::string m_appletStyle;
    std::string m_misc;
    // The last style lines, kept so that the many menus written alike are split once.
    std::string m_menuLine;
    std::string m_itemsLine;
    CVorane m_style{0, kSubMenuName};
    std::unique_ptr<CVorane> m_menu;  // the menu being read, made with its first item
    ReadMenus m_read;
};

}  // namespace

namespace {
InOrderRead ReadInOrder(LineStream& lines, CAppletParameters& applet, const std::string& section,
                        std::vector<std::string>* warnings, TaskProgress* progress) {
    InOrderMenus menus(section);
    std::string_view line;
    while (lines.Next(line))
        if (!menus.Take(line)) return InOrderRead::NotInOrder;
    if (lines.Cancelled()) return InOrderRead::Cancelled;
    if (lines.Failed() || !menus.Complete() || !menus.Fill(applet, lines.BytesRead(), warnings))
        return InOrderRead::NotInOrder;
    if (progress) {
        progress->SetTotal(lines.BytesRead());
        progress->SetDone(lines.BytesRead());
    }
    return InOrderRead::Done;
}
}  // namespace

InOrderRead ReadMenuFileInOrder(CAppletParameters& applet, const std::string& path, const std::string& section,
                                std::vector<std::string>* warnings, TaskProgress* progress) {
    LineStream lines(progress);
    if (!lines.Open(path)) return InOrderRead::NotInOrder;
    return ReadInOrder(lines, applet, section, warnings, progress);
}

InOrderRead ReadMenuTextInOrder(CAppletParameters& applet, std::string_view text, const std::string& section,
                                std::vector<std::string>* warnings) {
    if (text.size() > kMaxMenuFileBytes) return InOrderRead::NotInOrder;
    LineStream lines(text);
    return ReadInOrder(lines, applet, section, warnings, nullptr);
}

}  // namespace kestrune
