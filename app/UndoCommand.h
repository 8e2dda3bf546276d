#pragma once

#include <functional>

namespace zanto {

class BatchJournal;
class BatchRenameCommand;
class FileSystem;
struct MessageRequest;
class UndoView;
enum class MsgAnswer : int;

// 元に戻す: gives the files of the last completed batch their old names back,
// through temporary names and under a journal, like the batch itself. Files
// renamed, replaced or deleted since are left as they are. One level only.
class UndoCommand {
public:
    using Ask = std::function<MsgAnswer(const MessageRequest&)>;

    UndoCommand(UndoView& view, Ask ask, FileSystem& fileSystem, BatchJournal* journal,
                BatchRenameCommand& batch);

    // True while a record of a completed batch exists.
    bool available() const;
    void run();

private:
    UndoView& m_view;
    Ask m_ask;
    FileSystem& m_fileSystem;
    BatchJournal* m_journal;
    BatchRenameCommand& m_batch;
};

} // namespace zanto
