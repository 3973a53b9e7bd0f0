// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kestrune {

// The byte archive of the clipboard record: little-endian int32, length-prefixed
// strings and tagged object references. A reading archive never trusts the block:
// every length is checked against the bytes left before anything is allocated, and
// the first fault sticks so the caller can discard the half-read object.
class CArchive {
public:
    static CArchive ForWriting();
    static CArchive ForReading(const std::uint8_t* data, std::size_t size);

    bool IsStoring() const { return m_storing; }
    bool Failed() const { return !m_error.empty(); }
    const std::string& Error() const { return m_error; }
    void Fail(const std::string& error);

    void WriteInt(std::int32_t value);
    void WriteString(const std::string& text);
    // Writes the reference that precedes a nested object of the named class.
    void WriteObjectTag(const char* className);

    bool ReadInt(std::int32_t& value);
    bool ReadString(std::string& text);
    // Reads an object reference and checks that it introduces a new object of the class.
    bool ReadObjectTag(const char* className);

    std::size_t BytesLeft() const { return m_size - m_pos; }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(m_bytes); }

    // Nesting guard for readers: a block may describe a chain far deeper than the stack.
    bool EnterObject();
    void LeaveObject() { --m_depth; }
    static constexpr int kMaxDepth = 10000;

private:
    explicit CArchive(bool storing) : m_storing(storing) {}
    void WriteU16(std::uint16_t value);
    void WriteU32(std::uint32_t value);
    bool ReadU16(std::uint16_t& value);
    bool ReadU32(std::uint32_t& value);
    bool ReadBytes(std::size_t count, std::string& out);
    bool TakeClassByIndex(std::uint32_t classIndex, const char* className);

    bool m_storing;
    std::vector<std::uint8_t> m_bytes;
    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_pos = 0;
    std::string m_error;
    std::uint32_t m_nextIndex = 1;  // classes and objects share one index sequence
    std::map<std::string, std::uint32_t> m_classIndexByName;
    std::map<std::uint32_t, std::string> m_classNameByIndex;
    int m_depth = 0;
};

}  // namespace kestrune
