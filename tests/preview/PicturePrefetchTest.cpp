#include "preview/PicturePrefetch.h"
#include "preview/PictureWorker.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/Gate.h"
#include "tests/support/TempFolder.h"

#include <QImage>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

namespace zanto::test {
namespace {

const QSize kBox(30, 20);

void save(const std::string& path, int width)
{
    QImage image(width, 40, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(path), "JPG"));
}

TEST(PicturePrefetch, KeepsThePictureOnlyWhileTheFileIsUnchangedAndReadsOffTheCallersThread)
{
    TempFolder folder;
    const std::string path = folder.pathOf("next.jpg");
    save(path, 60);
    FaultyFileSystem fs;
    const auto caller = std::this_thread::get_id();
    std::atomic<int> reads = 0, readsHere = 0;
    std::function<void()> beforeCheck; // at take's own stamp, once the worker is done
    fs.onAccess([&](std::string_view call, const std::string&) {
        const bool here = std::this_thread::get_id() == caller;
        if (call != "stamp")
            ++(here ? readsHere : reads);
        else if (here && beforeCheck)
            std::exchange(beforeCheck, nullptr)();
    });
    PictureWorker worker(fs);
    PicturePrefetch prefetch(worker);
    prefetch.start(path, kBox);
    const auto kept = prefetch.take(path, kBox);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->size(), kBox);
    EXPECT_FALSE(prefetch.take(path, kBox)) << "one picture, taken once";
    EXPECT_EQ(worker.load(path, kBox).status, LoadedPicture::Status::Loaded) << "a picture wanted now";

    // Replaced by another picture after it was read ahead: decoded again.
    beforeCheck = [&] {
        save(path + ".new", 80);
        std::filesystem::rename(path + ".new", path);
    };
    prefetch.start(path, kBox);
    EXPECT_FALSE(prefetch.take(path, kBox));
    EXPECT_EQ(reads, 3);
    EXPECT_EQ(readsHere, 0) << "the window's thread reads nothing";
}

TEST(PicturePrefetch, StopsWhatIsNoLongerWantedWithoutWaitingAndWaitsForWhatIs)
{
    TempFolder folder;
    const std::string first = folder.pathOf("a.jpg"), other = folder.pathOf("b.jpg");
    save(first, 60);
    save(other, 60);
    using Step = std::function<void(std::optional<PicturePrefetch>&)>;
    const struct {
        const char* name;
        Step step;
        int firstReads; // readFile or openFile calls for `first`
    } cases[] = {
        {"a new start", [&](auto& prefetch) { prefetch->start(other, kBox); }, 0},
        {"a take of another file", [&](auto& prefetch) { EXPECT_FALSE(prefetch->take(other, kBox)); }, 0},
        {"a take for another box", [&](auto& prefetch) { EXPECT_FALSE(prefetch->take(first, {9, 9})); }, 0},
        {"the prefetch's end", [](auto& prefetch) { prefetch.reset(); }, 0},
        {"a take of it, the window kept alive meanwhile", [&](auto& prefetch) {
             EXPECT_TRUE(prefetch->take(first, kBox)); }, 1},
    };
    for (const auto& c : cases) {
        FaultyFileSystem fs;
        Gate gate;
        std::atomic<int> firstReads = 0;
        fs.onAccess([&](std::string_view call, const std::string& path) {
            if (path == first)
                call == "stamp" ? gate.pass() : void(++firstReads);
        });
        {
            PictureWorker worker(fs, [&] { gate.opened = true; });
            std::optional<PicturePrefetch> prefetch(std::in_place, worker);
            prefetch->start(first, kBox);
            while (!gate.entered)
                std::this_thread::yield();
            c.step(prefetch);
            gate.opened = true;
        }
        EXPECT_FALSE(gate.timedOut) << c.name << ": waited for the worker, or for the window";
        EXPECT_EQ(firstReads, c.firstReads) << c.name;
    }
}

} // namespace
} // namespace zanto::test
