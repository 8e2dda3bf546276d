#include "browse/PicturePrefetch.h"
#include "tests/support/TempFolder.h"
#include "ui/NativeFileSystem.h"

#include <QImage>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

namespace zanto::test {
namespace {

void savePicture(const std::string& path, int width, Qt::GlobalColor color)
{
    QImage image(width, 40, QImage::Format_RGB32);
    image.fill(color);
    ASSERT_TRUE(image.save(QString::fromStdString(path), "JPG"));
}

// What happens to the file between the read ahead and the step to it.
struct PrefetchCase {
    const char* family;
    std::function<void(const std::string& path)> meanwhile;
    bool kept;
};

class Prefetch : public ::testing::TestWithParam<PrefetchCase> {};

TEST_P(Prefetch, KeepsThePictureOnlyWhileTheFileIsUnchanged)
{
    TempFolder folder;
    const std::string path = folder.pathOf("next.jpg");
    savePicture(path, 60, Qt::red);
    NativeFileSystem fs;
    PicturePrefetch prefetch(fs);
    const QSize box(30, 20);
    prefetch.start(path, box);
    GetParam().meanwhile(path);
    const auto picture = prefetch.take(path, box);
    ASSERT_EQ(picture.has_value(), GetParam().kept);
    if (picture) {
        EXPECT_EQ(picture->size(), box);
    }
    EXPECT_FALSE(prefetch.take(path, box)) << "one picture, taken once";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Prefetch,
    ::testing::Values(
        PrefetchCase{"unchanged", [](const std::string&) {}, true},
        PrefetchCase{"replaced_by_another_picture",
                     [](const std::string& path) {
                         const std::string other = path + ".new";
                         savePicture(other, 80, Qt::blue);
                         std::filesystem::rename(other, path);
                     },
                     false},
        PrefetchCase{"rewritten_same_size",
                     [](const std::string& path) {
                         std::filesystem::last_write_time(path, std::filesystem::last_write_time(path)
                                                                    + std::chrono::seconds(1));
                     },
                     false}),
    [](const auto& info) { return std::string(info.param.family); });

} // namespace
} // namespace zanto::test
