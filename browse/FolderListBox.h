#pragma once

#include "listing/DirectoryListing.h"
#include "rename/FileSystem.h"

#include <QListWidget>

#include <string>

namespace zanto {

// The folder list: the chain of folders from the root down to the current
// one, then the current folder's subfolders (hidden ones left out). A
// double-click or Enter opens a folder.
class FolderListBox final : public QListWidget {
    Q_OBJECT
public:
    explicit FolderListBox(FileSystem& fileSystem, QWidget* parent = nullptr);

    // The current folder, absolute, without a trailing separator except at the root.
    const std::string& path() const { return m_path; }

    // Opens `folder`; the empty text opens the starting folder (the process's
    // current folder, else the home folder, else the root). On failure
    // nothing changes and the error is returned.
    // Emits `changed` after a change.
    FsError setPath(const std::string& folder);

    // The subfolder names of the current folder, as listed.
    const std::vector<std::string>& subfolders() const { return m_subfolders; }

    // While `changed` is handled: the reading the folder was opened with, for
    // the file list to take instead of reading the folder again.
    FolderReading takeReading() { return std::move(m_reading); }

signals:
    void changed();
    // The user moved the selection (not a right-click, not a click on empty space).
    void selectionMoved();
    // Opening a folder the user chose failed.
    void openFailed(const std::string& folder, zanto::FsError error);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    FsError openPath(const std::string& target);
    void openFolder(const std::string& folder);
    void rebuild(const std::vector<std::string>& chain);

    FileSystem& m_fileSystem;
    std::string m_path;
    std::vector<std::string> m_subfolders;
    FolderReading m_reading;
};

} // namespace zanto
