#include "listing/DirectoryListing.h"

#include "listing/NaturalOrder.h"
#include "listing/WildcardPattern.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace zanto {

namespace {

// Batches of entries handed from the thread that reads the folder to the one
// that filters and keys them.
class BatchQueue {
public:
    void push(std::vector<FolderEntry>&& batch)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_batches.push_back(std::move(batch));
        }
        m_ready.notify_one();
    }
    void close()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_closed = true;
        }
        m_ready.notify_one();
    }
    // The next batch; false once the reader has closed the queue and it is empty.
    bool pop(std::vector<FolderEntry>& batch)
    {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return m_closed || !m_batches.empty(); });
        if (m_batches.empty())
            return false;
        batch = std::move(m_batches.front());
        m_batches.pop_front();
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::vector<FolderEntry>> m_batches;
    bool m_closed = false;
};

bool hidden(const FolderEntry& entry)
{
    return entry.name.front() == '.';
}

// A regular file (or a link to one) that is not hidden: what the file list may show.
bool visibleFile(const FolderEntry& entry)
{
    return entry.kind == EntryKind::File && !hidden(entry);
}

// Reads `folder` and hands each entry to `take`. Reading a big folder is
// mostly the kernel's work: a second thread does it while this one filters,
// keys and orders what has been read so far.
template <typename Take>
FsError readStreamed(FileSystem& fs, const std::string& folder, Take&& take)
{
    // (Declared after what it uses, the thread is joined first if this one throws.)
    BatchQueue queue;
    FsError error = FsError::None;
    std::exception_ptr failure; // what the reading threw, thrown again here
    std::jthread reader([&] {
        try {
            error = fs.readEntries(folder, [&queue](std::vector<FolderEntry>& batch) { queue.push(std::move(batch)); });
        } catch (...) {
            failure = std::current_exception();
        }
        queue.close();
    });
    std::vector<FolderEntry> batch;
    while (queue.pop(batch)) {
        for (FolderEntry& entry : batch)
            take(entry);
    }
    reader.join();
    if (failure)
        std::rethrow_exception(failure);
    return error;
}

} // namespace

FsError listMatchingFiles(FileSystem& fs, const std::string& folder, const WildcardPattern& pattern,
                          std::vector<std::string>& names)
{
    names.clear();
    NaturalOrder order;
    const FsError error = readStreamed(fs, folder, [&](FolderEntry& entry) {
        if (visibleFile(entry) && pattern.matches(entry.name))
            order.add(std::move(entry.name));
    });
    if (error == FsError::None)
        names = order.sorted();
    return error;
}

FsError readFolder(FileSystem& fs, const std::string& folder, FolderReading& reading)
{
    // Watched from before the reading: a change made while it runs is seen.
    reading = {folder, fs.watch(folder), {}, {}};
    // Unwatched, the files could not be taken from this reading: they are
    // not ordered for nothing.
    const bool keepFiles = reading.watch != nullptr;
    NaturalOrder files;
    const FsError error = readStreamed(fs, folder, [&](FolderEntry& entry) {
        if (keepFiles && visibleFile(entry))
            files.add(std::move(entry.name));
        else if (entry.kind == EntryKind::Folder && !hidden(entry))
            reading.subfolders.push_back(std::move(entry.name));
    });
    if (error != FsError::None) {
        reading = {};
        return error;
    }
    reading.files = files.sorted();
    sortNaturally(reading.subfolders);
    return FsError::None;
}

bool FolderReading::current(const std::string& path) const
{
    return watch && folder == path && !watch->changed();
}

std::vector<std::string> matchingFiles(FolderReading&& reading, const WildcardPattern& pattern)
{
    std::vector<std::string> names = std::move(reading.files);
    std::erase_if(names, [&pattern](const std::string& name) { return !pattern.matches(name); });
    return names;
}

} // namespace zanto
