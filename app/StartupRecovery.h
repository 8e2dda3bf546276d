#pragma once

#include <functional>

namespace zanto {

class BatchJournal;
class FileSystem;
struct MessageRequest;
enum class MsgAnswer : int;

// Before the main window appears: a batch that never ended (killed, power
// cut) is offered to be put back (はい) or finished (いいえ), or left for the
// next start (キャンセル). A damaged journal is set aside and the user told once.
class StartupRecovery {
public:
    using Ask = std::function<MsgAnswer(const MessageRequest&)>;

    StartupRecovery(BatchJournal& journal, FileSystem& fileSystem, Ask ask);

    void run();

private:
    BatchJournal& m_journal;
    FileSystem& m_fileSystem;
    Ask m_ask;
};

} // namespace zanto
