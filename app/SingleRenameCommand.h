#pragma once

#include <functional>

namespace zanto {

class BatchJournal;
class FileSystem;
struct MessageRequest;
struct TolvaForm;
struct WindowFields;
enum class MsgAnswer : int;

// Simple mode's rename: the old and new name shown while the user types, the
// rename of the selected file to the typed name and its own extension, and
// the step that moves on to the next file after every attempt.
class SingleRenameCommand {
public:
    using Ask = std::function<MsgAnswer(const MessageRequest&)>;

    SingleRenameCommand(TolvaForm& form, WindowFields& fields, Ask ask, FileSystem& fileSystem,
                        BatchJournal* journal = nullptr);

    void Text_Change();
    void Text_GotFocus();
    void cmd_Click();
    void RIMU();

private:
    TolvaForm& m_form;
    WindowFields& m_fields;
    Ask m_ask;
    FileSystem& m_fileSystem;
    BatchJournal* m_journal;
};

} // namespace zanto
