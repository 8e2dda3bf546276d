#pragma once

#include "ListBox.h"
#include "listing/DirectoryListing.h"
#include "rename/FileSystem.h"

#include <QString>

namespace zanto {

// The files of one folder whose names match a ";"-separated pattern list,
// in natural order.
class FileListBox final : public ListBox {
    Q_OBJECT
public:
    explicit FileListBox(FileSystem& fileSystem, QWidget* parent = nullptr);

    const QString& pattern() const { return m_pattern; }
    const std::string& path() const { return m_path; }

    // Each of these re-reads the folder. On failure the list is left empty.
    [[nodiscard]] FsError setPattern(const QString& pattern);
    // `reading`, where it is still current, gives the names instead.
    [[nodiscard]] FsError setPath(const std::string& folder, FolderReading reading = {});
    [[nodiscard]] FsError refresh();
    // The same, but keeps the names read last while the folder's watch tells
    // of no change since that reading: stepping through a large folder does
    // not read it again at every step.
    [[nodiscard]] FsError refreshIfChanged();

private:
    FileSystem& m_fileSystem;
    QString m_pattern = QStringLiteral("*.a");
    std::string m_path;
    std::unique_ptr<FolderWatch> m_watch; // begun before the names shown were read
};

} // namespace zanto
