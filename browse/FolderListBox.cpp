#include "FolderListBox.h"

#include "rename/PathRule.h"
#include "ui/NativeName.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

#include <filesystem>

namespace zanto {

namespace {

constexpr int kPathRole = Qt::UserRole + 1;

std::string normalized(const std::string& folder)
{
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(folder, error).lexically_normal();
    std::string text = path.string();
    while (text.size() > path.root_path().string().size() && text.back() == kPathSeparator)
        text.pop_back();
    return text;
}

} // namespace

FolderListBox::FolderListBox(FileSystem& fileSystem, QWidget* parent)
    : QListWidget(parent)
    , m_fileSystem(fileSystem)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    // The user moved the selection, by mouse or keyboard.
    connect(this, &QListWidget::currentRowChanged, this, &FolderListBox::selectionMoved);
    // The list is rebuilt when a folder opens; do that after the view has
    // finished with the double-click that asked for it.
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const std::string folder = item->data(kPathRole).toByteArray().toStdString();
        QMetaObject::invokeMethod(this, [this, folder] { openFolder(folder); }, Qt::QueuedConnection);
    });
}

FsError FolderListBox::setPath(const std::string& folder)
{
    if (!folder.empty())
        return openPath(normalized(folder));
    // The starting folder: the process's current folder, which may have been
    // deleted or made unreadable, then the home folder, then the root.
    std::error_code gone;
    const std::filesystem::path current = std::filesystem::current_path(gone);
    FsError error = gone ? FsError::PathNotFound : openPath(normalized(current.string()));
    for (const std::string& fallback : {nativeName(QDir::homePath()), std::string(1, kPathSeparator)}) {
        if (error == FsError::None)
            break;
        error = openPath(normalized(fallback));
    }
    return error;
}

FsError FolderListBox::openPath(const std::string& target)
{
    FolderReading reading;
    if (const FsError error = readFolder(m_fileSystem, target, reading); error != FsError::None)
        return error;
    std::vector<std::string> subfolders = std::move(reading.subfolders);

    std::vector<std::string> chain;
    std::filesystem::path walk(target);
    for (;;) {
        chain.insert(chain.begin(), walk.string());
        if (walk == walk.root_path() || !walk.has_relative_path())
            break;
        walk = walk.parent_path();
    }
    m_path = target;
    m_subfolders = std::move(subfolders);
    rebuild(chain);
    m_reading = std::move(reading);
    emit changed();
    m_reading = {}; // kept only while the change is handled
    return FsError::None;
}

void FolderListBox::rebuild(const std::vector<std::string>& chain)
{
    const QSignalBlocker quiet(this);
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QString indentUnit = QStringLiteral("  ");
    int depth = 0;
    for (const std::string& folder : chain) {
        const std::string name = std::filesystem::path(folder).filename().string();
        auto* item = new QListWidgetItem(open, indentUnit.repeated(depth) + displayName(name.empty() ? folder : name));
        item->setData(kPathRole, QByteArray::fromStdString(folder));
        addItem(item);
        ++depth;
    }
    setCurrentRow(count() - 1);
    for (const std::string& name : m_subfolders) {
        auto* item = new QListWidgetItem(closed, indentUnit.repeated(depth) + displayName(name));
        item->setData(kPathRole, QByteArray::fromStdString(joinPath(m_path, name)));
        addItem(item);
    }
    scrollToItem(currentItem(), QAbstractItemView::PositionAtTop);
}

void FolderListBox::openFolder(const std::string& folder)
{
    if (folder == m_path)
        return;
    if (const FsError error = setPath(folder); error != FsError::None)
        emit openFailed(folder, error);
}

void FolderListBox::mousePressEvent(QMouseEvent* event)
{
    // A right-button press leaves the selection where it is.
    if (event->button() == Qt::LeftButton)
        QListWidget::mousePressEvent(event);
}

void FolderListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (const QListWidgetItem* item = currentItem())
            openFolder(item->data(kPathRole).toByteArray().toStdString());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace zanto
