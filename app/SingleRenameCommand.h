#pragma once

#include <functional>
#include <string>

namespace zanto {

class BatchJournal;
class FileSystem;
class SingleRenameView;
struct MessageRequest;
struct Shot;
enum class MsgAnswer : int;

// Simple mode's rename: the old and new name shown while the user types, the
// rename of the selected file to the typed name and its own extension, and
// the step that moves on to the next file after every attempt.
class SingleRenameCommand {
public:
    using Ask = std::function<MsgAnswer(const MessageRequest&)>;

    SingleRenameCommand(SingleRenameView& view, Ask ask, FileSystem& fileSystem, BatchJournal* journal = nullptr);

    // The old and the typed name shown while the user types.
    void showNames();
    // The whole name selected on focus, so that typing replaces it.
    void selectWholeName();
    // Renames the selected file to the typed name and its own extension; with
    // shots on, the other files of its shot take the typed name too, each
    // keeping its tail.
    void renameSelected();
    // Reads the folder again and selects the file that comes next.
    void moveToNextFile();

private:
    std::string selectedName() const;
    // With shots on, the shot the selected file `name` is a member of.
    Shot shotOfSelected(const std::string& name) const;

    SingleRenameView& m_view;
    // The old name without extension of the last rename tried.
    std::string m_oldBase;
    Ask m_ask;
    FileSystem& m_fileSystem;
    BatchJournal* m_journal;
};

} // namespace zanto
