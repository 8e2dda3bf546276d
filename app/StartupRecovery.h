#pragma once

#include <functional>

namespace zanto {

class BatchJournal;
class FileSystem;
struct MessageRequest;
enum class MsgAnswer : int;

// Before the main window appears: each run that never ended (killed, power
// cut) and that no running copy holds is offered, naming its folder, to be
// put back (はい) or finished (いいえ), or left for the next start
// (キャンセル). A damaged journal is set aside and the user told once. A
// journal goes only once every file stands under its old or new name, or the
// user has been shown the old name of each one that does not.
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
