#pragma once

#include <QElapsedTimer>

#include <functional>
#include <optional>
#include <string>

namespace zanto {

class FileSystem;
struct MessageRequest;
struct TolvaForm;
enum class MsgAnswer : int;

// The command behind 変換: renames every file of the rename list to the base
// name, a zero-filled number and its own extension. The window's controls are
// read and written here; every file operation and every decision on names is
// the renaming core's.
class BatchRenameCommand {
public:
    using Ask = std::function<MsgAnswer(const MessageRequest&)>;

    BatchRenameCommand(TolvaForm& form, Ask ask, FileSystem& fileSystem);

    void run();

private:
    // Progress reaches the caption at most every few milliseconds, and always
    // at the end of a phase: a window system round trip per file would cost
    // more than the renames themselves.
    void caption(const std::string& text, bool last);
    // Shows the caption held back by the throttle, before the run waits on a
    // message box.
    void flushCaption();
    void rebuildList();

    TolvaForm& m_form;
    Ask m_ask;
    FileSystem& m_fileSystem;
    QElapsedTimer m_sinceCaption;
    std::optional<std::string> m_heldCaption;
};

} // namespace zanto
