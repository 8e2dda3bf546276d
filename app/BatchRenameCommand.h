#pragma once

#include "rename/BatchRename.h"
#include "rename/Pulse.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zanto {

class BatchJournal;
class BatchReport;
class BatchView;
class FileSystem;
class LongWork;
struct BatchPlan;
struct MessageRequest;
enum class JournalKind;
enum class MsgAnswer : int;

// The command behind 変換: renames every file of the rename list to the base
// name, a zero-filled number and its own extension. It reads and writes the
// window through its view; every file operation and every decision on names
// is the renaming core's.
class BatchRenameCommand {
public:
    using Ask = std::function<MsgAnswer(const MessageRequest&)>;

    // Without a journal (null) the batch runs unrecorded.
    // `work` keeps the window alive while files move.
    BatchRenameCommand(BatchView& view, Ask ask, FileSystem& fileSystem, LongWork& work,
                       BatchJournal* journal = nullptr);

    void run();
    // 新しい名前の一覧: the table of the run 変換 would make now, from the
    // same plan; nothing moves.
    void showNewNames();

    // Moves the files of a ready plan under a journal of `kind`, with the
    // hourglass and the captions of both passes; a batch's journal then
    // becomes the record of the last batch. None when the journal could not
    // be written (the user has been told; nothing moved).
    std::optional<BatchReport> apply(const BatchPlan& plan, JournalKind kind);
    // The box of a stopped run, and the files it could not give back their names.
    void reportStop(const BatchPlan& plan, const BatchReport& report);

private:
    // The plan of the run, the window kept alive around it.
    // Keeps the window answering during a step of the rename core.
    Pulse keepingAlive();
    RandomSource planDraws();
    BatchPlan planRun(const std::string& folder, const std::vector<std::string>& entries, const std::string& base,
                      const BatchOptions& options);
    // The base name typed, in native form; none after telling the user it
    // holds a character no name may hold.
    std::optional<std::string> typedBase();
    // Shows the table of `plan`, the folder read again for what the plan
    // does not keep (the files outside the run).
    void showTable(const BatchPlan& plan, const std::vector<std::string>& entries, const std::string& base,
                   const BatchOptions& options);
    // Progress reaches the caption at most every few milliseconds, and always
    // at the end of a phase: a window system round trip per file would cost
    // more than the renames themselves.
    void caption(const QString& text, bool last);
    // Shows the caption held back by the throttle, before the run waits on a
    // message box.
    void flushCaption();

    BatchView& m_view;
    Ask m_ask;
    FileSystem& m_fileSystem;
    LongWork& m_work;
    BatchJournal* m_journal;
    // The draws of the temporary prefix, the same for every plan until a run
    // moves files: a table shown from the menu names the temporary names the
    // next run leaves, and a plan made again after the check keeps them.
    RandomSource m_fresh = clockSeededRandom();
    std::vector<double> m_draws;
    QElapsedTimer m_sinceCaption;
    std::optional<QString> m_heldCaption;
};

} // namespace zanto
