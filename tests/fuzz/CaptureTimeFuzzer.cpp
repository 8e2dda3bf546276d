// Reading the moment a file was taken from any bytes, as a file in memory:
// never a crash or hang, every read capped, a moment always well formed.
#include "listing/CaptureTime.h"
#include "listing/FilePieces.h"
#include "rename/ReadableFile.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

using zanto::fuzz::require;

namespace {

// Counts what the reader asks of the file.
class CountedFile final : public zanto::ReadableFile {
public:
    explicit CountedFile(std::string bytes) : m_file(std::move(bytes)) {}
    std::uint64_t size() const override { return m_file.size(); }
    zanto::FsError readAt(std::uint64_t offset, std::size_t length, std::string& bytes) override
    {
        require(length <= zanto::FilePieces::kMaxPiece, "every read capped");
        require(++reads <= zanto::FilePieces::kMaxReads, "reads counted");
        return m_file.readAt(offset, length, bytes);
    }
    int reads = 0;

private:
    zanto::MemoryFile m_file;
};

bool wellFormed(const std::string& moment)
{
    // "2024:05:01 10:00:00.120000000"
    if (moment.size() != 29 || moment[19] != '.')
        return false;
    for (std::size_t i = 0; i < moment.size(); ++i) {
        const bool digit = moment[i] >= '0' && moment[i] <= '9';
        if (digit != (i != 4 && i != 7 && i != 10 && i != 13 && i != 16 && i != 19))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CountedFile file(std::string(reinterpret_cast<const char*>(data), size));
    if (const auto moment = zanto::CaptureTime::of(file))
        require(wellFormed(moment->text()), "a moment is well formed");
    return 0;
}
