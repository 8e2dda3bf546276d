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

} // namespace

FsError listMatchingFiles(FileSystem& fs, const std::string& folder, const WildcardPattern& pattern,
                          std::vector<std::string>& names)
{
    names.clear();
    // Reading a big folder is mostly the kernel's work: a second thread does
    // it while this one filters, keys and orders what has been read so far.
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
    NaturalOrder order;
    std::vector<FolderEntry> batch;
    while (queue.pop(batch)) {
        for (FolderEntry& entry : batch) {
            if (entry.kind == EntryKind::File && entry.name.front() != '.' && pattern.matches(entry.name))
                order.add(std::move(entry.name));
        }
    }
    reader.join();
    if (failure)
        std::rethrow_exception(failure);
    if (error == FsError::None)
        names = order.sorted();
    return error;
}

} // namespace zanto
