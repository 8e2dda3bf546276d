#include "DateOrder.h"

#include "NaturalOrder.h"
#include "rename/FileSystem.h"
#include "rename/PathRule.h"

#include <libexif/exif-data.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

namespace zanto {

namespace {

// EXIF sits in the first segment after the start of a JPEG, at most 64 KiB.
constexpr std::size_t kHeadBytes = 64 * 1024;
constexpr std::size_t kDigitsOfSecond = 9;

struct ExifDataFree {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

std::string asciiOf(ExifData* data, ExifTag tag)
{
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_EXIF], tag);
    if (entry == nullptr || entry->format != EXIF_FORMAT_ASCII || entry->data == nullptr)
        return {};
    const auto* text = reinterpret_cast<const char*>(entry->data);
    return std::string(text, strnlen(text, entry->size));
}

// "YYYY:MM:DD HH:MM:SS", as every camera writes it.
bool wellFormed(const std::string& date)
{
    if (date.size() != 19)
        return false;
    for (std::size_t i = 0; i < date.size(); ++i) {
        const char expected = i == 4 || i == 7 ? ':' : i == 10 ? ' ' : i == 13 || i == 16 ? ':' : '0';
        if (expected == '0' ? (date[i] < '0' || date[i] > '9') : date[i] != expected)
            return false;
    }
    return date != "0000:00:00 00:00:00";
}

// Sub-seconds are a decimal fraction written as its digits ("12" is 0.12 s).
std::string fraction(std::string digits)
{
    digits.erase(std::find_if(digits.begin(), digits.end(), [](char c) { return c < '0' || c > '9'; }),
                 digits.end());
    digits.resize(kDigitsOfSecond, '0');
    return digits;
}

// The modification time in local time, as cameras write theirs.
std::string localMoment(std::int64_t modifiedNs)
{
    const std::time_t seconds = static_cast<std::time_t>(modifiedNs / 1'000'000'000);
    std::tm local{};
    localtime_r(&seconds, &local);
    std::array<char, 24> date{};
    std::strftime(date.data(), date.size(), "%Y:%m:%d %H:%M:%S", &local);
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%s.%09lld", date.data(),
                  static_cast<long long>(modifiedNs % 1'000'000'000));
    return text.data();
}

} // namespace

std::optional<std::string> DateOrder::exifMoment(std::string_view head)
{
    std::unique_ptr<ExifData, ExifDataFree> data(exif_data_new());
    if (!data)
        return std::nullopt;
    // Only two tags are wanted: leave the maker's notes and any repair alone.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(head.data()),
                        static_cast<unsigned int>(head.size()));
    const std::string date = asciiOf(data.get(), EXIF_TAG_DATE_TIME_ORIGINAL);
    if (!wellFormed(date))
        return std::nullopt;
    return date + "." + fraction(asciiOf(data.get(), EXIF_TAG_SUB_SEC_TIME_ORIGINAL));
}

std::string DateOrder::momentOf(const std::string& path, FileSystem& fs)
{
    std::string head;
    if (fs.readFile(path, kHeadBytes, head) == FsError::None) {
        if (auto moment = exifMoment(head))
            return *moment;
    }
    const auto stamp = fs.stamp(path);
    return stamp ? localMoment(stamp->modifiedNs) : std::string();
}

void DateOrder::sort(const std::string& folder, std::vector<std::string>& names, FileSystem& fs, const Step& step)
{
    struct Keyed {
        std::string moment;
        std::string name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) {
        keyed.push_back({momentOf(joinPath(folder, name), fs), std::move(name)});
        if (step)
            step();
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return a.moment != b.moment ? a.moment < b.moment : naturalLess(a.name, b.name);
    });
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[i].name);
}

} // namespace zanto
