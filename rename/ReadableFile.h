#pragma once

#include "rename/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zanto {

// A regular file opened for reading pieces of it where a format points, so
// that a reader takes a few KiB of a large photo or video instead of all of it.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;

    // The file's length when it was opened.
    [[nodiscard]] virtual std::uint64_t size() const = 0;

    // Up to `length` bytes from `offset` (fewer at the end of the file, none past it).
    [[nodiscard]] virtual FsError readAt(std::uint64_t offset, std::size_t length, std::string& bytes) = 0;
};

// Bytes already in memory, read as a file: for file systems without a real
// one, for tests and for fuzzers.
class MemoryFile final : public ReadableFile {
public:
    explicit MemoryFile(std::string bytes) : m_bytes(std::move(bytes)) {}

    std::uint64_t size() const override { return m_bytes.size(); }
    FsError readAt(std::uint64_t offset, std::size_t length, std::string& bytes) override
    {
        bytes.clear();
        if (offset < m_bytes.size())
            bytes.assign(m_bytes, static_cast<std::size_t>(offset), length);
        return FsError::None;
    }

private:
    std::string m_bytes;
};

// Bytes that the caller keeps, read as a file while they last: a picture
// already read whole is looked into without a copy.
class MemoryView final : public ReadableFile {
public:
    explicit MemoryView(std::string_view bytes) : m_bytes(bytes) {}

    std::uint64_t size() const override { return m_bytes.size(); }
    FsError readAt(std::uint64_t offset, std::size_t length, std::string& bytes) override
    {
        bytes.clear();
        if (offset < m_bytes.size())
            bytes.assign(m_bytes.substr(static_cast<std::size_t>(offset), length));
        return FsError::None;
    }

private:
    std::string_view m_bytes;
};

} // namespace zanto
