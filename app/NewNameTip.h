#pragma once

#include "rename/BatchRename.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;

namespace zanto {

class FileSystem;
class ListBox;

// Pointing at an entry of the rename list shows the name the batch would give
// it ("IMG_0412.JPG → 旅行03.jpg") while the base name box holds a usable
// name; with one number per shot, every file of the shot, a line each; an
// entry of the series the numbers continue, that it keeps its name. Only
// the entry pointed at is named: typing costs nothing. The names of the whole
// run are worked out once and kept while the list, the base name, the
// numbering and (with shots) the folder's names stay as they were.
class NewNameTip final : public QObject {
    Q_OBJECT
public:
    // How the batch numbers, and the folder shown (read for shots only).
    using Options = std::function<BatchOptions()>;
    using Folder = std::function<std::string()>;

    NewNameTip(ListBox& list, QLineEdit& base, Options options, Folder folder, FileSystem& fileSystem,
               QObject* parent);

    // The tip for the entry at `row`; empty when the base name is empty or
    // would be refused, and the entry's own tip is shown instead.
    QString text(int row) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The run's new names, and what they were worked out from.
    struct Names {
        std::string base;
        std::string folder;
        bool shots = false;
        Numbering numbering;
        std::unique_ptr<FolderWatch> watch; // with shots: begun before the folder was read
        std::vector<BatchItem> items;
        std::vector<std::size_t> shotOf;
    };
    const Names* namesFor(const std::string& base) const;

    ListBox& m_list;
    QLineEdit& m_base;
    Options m_options;
    Folder m_folder;
    FileSystem& m_fileSystem;
    mutable std::optional<Names> m_names; // dropped whenever the list changes
};

} // namespace zanto
