#pragma once

#include <QString>

#include <functional>
#include <string>

namespace zanto {

class FileListBox;
struct FolderReading;
enum class FsError : int;
struct MessageRequest;
enum class MsgAnswer : int;

// The file list read again, after a folder change, a filter change, a batch,
// a deletion or Refresh: a folder that cannot be read leaves the list empty
// and is told, never passed over in silence.
class FileListReader {
public:
    using Ask = std::function<MsgAnswer(const MessageRequest&)>;

    FileListReader(FileListBox& files, Ask ask);

    // The folder shown read again.
    void reread();
    // The same, unless the folder is known not to have changed since.
    void rereadIfChanged();
    // The files of `folder`, from its reading where that is still current.
    void open(const std::string& folder, FolderReading reading);
    // The files matching `pattern`. Before a folder is set (start-up sets the
    // pattern first) nothing is read, and nothing told.
    void setPattern(const QString& pattern);

private:
    void tell(FsError error) const;

    FileListBox& m_files;
    Ask m_ask;
};

} // namespace zanto
