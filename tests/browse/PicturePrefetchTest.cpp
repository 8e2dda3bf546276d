#include "browse/PicturePrefetch.h"
#include "fs/NativeFileSystem.h"
#include "tests/support/TempFolder.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>

namespace zanto::test {
namespace {

TEST(PicturePrefetch, KeepsThePictureOnlyWhileTheFileIsUnchanged)
{
    const auto save = [](const std::string& path, int width) {
        QImage image(width, 40, QImage::Format_RGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(QString::fromStdString(path), "JPG"));
    };
    TempFolder folder;
    const std::string path = folder.pathOf("next.jpg");
    save(path, 60);
    NativeFileSystem fs;
    PicturePrefetch prefetch(fs);
    const QSize box(30, 20);
    prefetch.start(path, box);
    const auto kept = prefetch.take(path, box);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->size(), box);
    EXPECT_FALSE(prefetch.take(path, box)) << "one picture, taken once";

    // Replaced by another picture after it was read ahead: decoded again.
    prefetch.start(path, box);
    save(path + ".new", 80);
    std::filesystem::rename(path + ".new", path);
    EXPECT_FALSE(prefetch.take(path, box));
}

} // namespace
} // namespace zanto::test
