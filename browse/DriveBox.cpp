#include "DriveBox.h"

#include "ui/NativeName.h"

#include <QDir>
#include <QStorageInfo>

namespace zanto {

DriveBox::DriveBox(QWidget* parent)
    : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            emit driveChanged();
    });
}

void DriveBox::reloadVolumes()
{
    std::vector<Volume> mounts;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid())
            continue;
        const std::string root = nativeName(storage.rootPath());
        QString label = storage.displayName();
        if (label.isEmpty() || label == storage.rootPath())
            label = storage.rootPath();
        else
            label = QStringLiteral("%1 (%2)").arg(label, storage.rootPath());
        mounts.push_back({root, nativeName(label)});
    }
    setVolumes(chooseVolumes(mounts, nativeName(QDir::homePath())));
}

void DriveBox::setVolumes(std::vector<Volume> volumes)
{
    const std::string previous = drive();
    m_filling = true;
    QComboBox::clear();
    m_volumes = std::move(volumes);
    for (const Volume& volume : m_volumes)
        addItem(displayName(volume.label));
    const int keep = volumeIndexFor(m_volumes, previous.empty() ? std::string("/") : previous);
    setCurrentIndex(keep < 0 ? 0 : keep);
    m_filling = false;
}

std::string DriveBox::drive() const
{
    const int index = currentIndex();
    if (index < 0 || index >= static_cast<int>(m_volumes.size()))
        return {};
    return m_volumes[static_cast<std::size_t>(index)].root;
}

std::string DriveBox::currentFolder() const
{
    const std::string root = drive();
    const auto found = m_currentFolders.find(root);
    return found == m_currentFolders.end() ? root : found->second;
}

void DriveBox::rememberFolder(const std::string& folder)
{
    const int index = volumeIndexFor(m_volumes, folder);
    if (index >= 0)
        m_currentFolders[m_volumes[static_cast<std::size_t>(index)].root] = folder;
}

void DriveBox::selectDriveFor(const std::string& path)
{
    const int index = volumeIndexFor(m_volumes, path);
    if (index >= 0 && index != currentIndex())
        setCurrentIndex(index);
}

} // namespace zanto
