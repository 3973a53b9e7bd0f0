// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Archive.h"

#include <cstring>

namespace kestrune {

namespace {
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTagBit = 0x8000;
constexpr std::uint16_t kBigIndexTag = 0x7FFF;
constexpr std::uint32_t kBigClassBit = 0x80000000u;
constexpr std::uint16_t kSchema = 1;
constexpr std::uint16_t kWideStringMark = 0xFFFE;
}  // namespace

CArchive CArchive::ForWriting() { return CArchive(true); }

CArchive CArchive::ForReading(const std::uint8_t* data, std::size_t size) {
    CArchive ar(false);
    ar.m_data = data;
    ar.m_size = data ? size : 0;
    return ar;
}

void CArchive::Fail(const std::string& error) {
    if (m_error.empty()) m_error = error;
}

void CArchive::WriteU16(std::uint16_t value) {
    m_bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void CArchive::WriteU32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        m_bytes.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

void CArchive::WriteInt(std::int32_t value) { WriteU32(static_cast<std::uint32_t>(value)); }

void CArchive::WriteString(const std::string& text) {
    const std::size_t length = text.size();
    if (length < 255) {
        m_bytes.push_back(static_cast<std::uint8_t>(length));
    } else if (length < 0xFFFE) {
        m_bytes.push_back(0xFF);
        WriteU16(static_cast<std::uint16_t>(length));
    } else {
        m_bytes.push_back(0xFF);
        WriteU16(0xFFFF);
        WriteU32(static_cast<std::uint32_t>(length));
    }
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
}

void CArchive::WriteObjectTag(const char* className) {
    auto known = m_classIndexByName.find(className);
    if (known == m_classIndexByName.end()) {
        WriteU16(kNewClassTag);
        WriteU16(kSchema);
        const std::size_t length = std::strlen(className);
        WriteU16(static_cast<std::uint16_t>(length));
        m_bytes.insert(m_bytes.end(), className, className + length);
        m_classIndexByName[className] = m_nextIndex++;
    } else if (known->second < kBigIndexTag) {
        WriteU16(static_cast<std::uint16_t>(kClassTagBit | known->second));
    } else {
        WriteU16(kBigIndexTag);
        WriteU32(kBigClassBit | known->second);
    }
    ++m_nextIndex;  // the object itself
}

bool CArchive::ReadBytes(std::size_t count, std::string& out) {
    if (Failed()) return false;
    if (count > BytesLeft()) {
        Fail("The clipboard record is cut off.");
        return false;
    }
    out.assign(reinterpret_cast<const char*>(m_data + m_pos), count);
    m_pos += count;
    return true;
}

bool CArchive::ReadU16(std::uint16_t& value) {
    std::string raw;
    if (!ReadBytes(2, raw)) return false;
    value = static_cast<std::uint16_t>(static_cast<std::uint8_t>(raw[0]) |
                                       (static_cast<std::uint8_t>(raw[1]) << 8));
    return true;
}

bool CArchive::ReadU32(std::uint32_t& value) {
    std::string raw;
    if (!ReadBytes(4, raw)) return false;
    value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(raw[i]);
    return true;
}

bool CArchive::ReadInt(std::int32_t& value) {
    std::uint32_t raw = 0;
    if (!ReadU32(raw)) return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool CArchive::ReadString(std::string& text) {
    std::string prefix;
    if (!ReadBytes(1, prefix)) return false;
    std::uint32_t length = static_cast<std::uint8_t>(prefix[0]);
    if (length == 0xFF) {
        std::uint16_t shortLength = 0;
        if (!ReadU16(shortLength)) return false;
        if (shortLength == kWideStringMark) {
            // The wide-character form of the format; this program never writes it.
            Fail("The clipboard record holds a text this program does not write.");
            return false;
        }
        length = shortLength;
        if (shortLength == 0xFFFF && !ReadU32(length)) return false;
    }
    return ReadBytes(length, text);
}

bool CArchive::TakeClassByIndex(std::uint32_t classIndex, const char* className) {
    auto known = m_classNameByIndex.find(classIndex);
    if (known == m_classNameByIndex.end() || known->second != className) {
        Fail("The clipboard record refers to an unknown class.");
        return false;
    }
    ++m_nextIndex;
    return true;
}

bool CArchive::ReadObjectTag(const char* className) {
    std::uint16_t tag = 0;
    if (!ReadU16(tag)) return false;
    if (tag == kNewClassTag) {
        std::uint16_t schema = 0;
        std::uint16_t nameLength = 0;
        std::string name;
        if (!ReadU16(schema) || !ReadU16(nameLength) || !ReadBytes(nameLength, name)) return false;
        if (schema != kSchema) {
            Fail("The clipboard record has an unknown schema.");
            return false;
        }
        if (name != className || m_classIndexByName.count(name)) {
            Fail("The clipboard record holds an unexpected class \"" + name + "\".");
            return false;
        }
        m_classIndexByName[name] = m_nextIndex;
        m_classNameByIndex[m_nextIndex] = name;
        m_nextIndex += 2;  // the class, then its object
        return true;
    }
    if (tag & kClassTagBit) return TakeClassByIndex(tag & ~kClassTagBit, className);
    if (tag == kBigIndexTag) {
        std::uint32_t index = 0;
        if (!ReadU32(index)) return false;
        if (index & kBigClassBit) return TakeClassByIndex(index & ~kBigClassBit, className);
    }
    // Null and repeated objects never occur in a tree.
    Fail("The clipboard record holds an object reference this program does not write.");
    return false;
}

bool CArchive::EnterObject() {
    if (m_depth >= kMaxDepth) {
        Fail("The clipboard record is nested too deeply.");
        return false;
    }
    ++m_depth;
    return true;
}

}  // namespace kestrune
