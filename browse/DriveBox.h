#pragma once

#include "listing/Volumes.h"

#include <QComboBox>

#include <map>

namespace zanto {

// The drive selector: one entry per volume a person would choose. Each
// volume remembers its current folder for the run, so that coming back to
// it returns to the folder last shown there.
class DriveBox final : public QComboBox {
    Q_OBJECT
public:
    explicit DriveBox(QWidget* parent = nullptr);

    // Lists the mounted volumes again (the current choice stays where it can).
    void reloadVolumes();
    void setVolumes(std::vector<Volume> volumes);

    // The chosen volume's mount point.
    std::string drive() const;
    // The folder to open for the chosen volume: the last one shown there, else its root.
    std::string currentFolder() const;
    // Records `folder` as the current folder of the volume that holds it.
    void rememberFolder(const std::string& folder);
    // Chooses the volume that holds `path`; emits `driveChanged` when that is another one.
    void selectDriveFor(const std::string& path);

signals:
    void driveChanged();

private:
    std::vector<Volume> m_volumes;
    std::map<std::string, std::string> m_currentFolders;
    bool m_filling = false;
};

} // namespace zanto
