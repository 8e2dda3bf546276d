#pragma once

#include "BatchView.h"
#include "FolderView.h"
#include "RenameListView.h"
#include "SingleRenameView.h"
#include "UndoView.h"

#include <memory>

namespace zanto {

class FileListReader;
class FileSystem;
class PreviewArea;
struct ProgramValues;
struct TolvaForm;

// The views the commands and controllers have of the main window, carried
// out on its controls; the file list is read through `files`, the preview's
// controls are left to `preview`.
class FormViews final : public BatchView,
                        public SingleRenameView,
                        public UndoView,
                        public RenameListView,
                        public FolderView {
public:
    FormViews(TolvaForm& form, const ProgramValues& values, FileListReader& files, PreviewArea& preview,
              FileSystem& fileSystem)
        : m_form(form)
        , m_values(values)
        , m_files(files)
        , m_preview(preview)
        , m_fileSystem(fileSystem)
    {
    }

    // The folder shown, for every view.
    std::string folder() const override;
    // The rename list refilled, for the list's controller and the folder navigator.
    void refillList() override;
    // The folder read again, for the single rename and the list's controller.
    void rereadFiles() override;

    // BatchView, and RenameListView's base name
    std::vector<std::string> entries() const override;
    void removeEntry(const std::string& entry) override;
    QString baseName() const override;
    void clearBaseName() override;
    void setCaption(const QString& caption) override;
    void showListing() override;
    void clearPicture() override;
    BatchOptions batchOptions() const override;
    void showNewNames(NewNameTable table, const std::function<void(NewNameTable&)>& search) override;

    // SingleRenameView
    int fileCount() const override;
    int selectedFile() const override;
    std::string fileAt(int row) const override;
    bool shots() const override;
    void selectFile(int row) override;
    QString typedName() const override;
    int typedNameLimit() const override;
    void setTypedName(const QString& text) override;
    void selectTypedName(int length) override;
    void lockNameBox() override;
    void showNames(const QString& oldName, const QString& newName) override;

    // UndoView
    void restoreCaption() override;
    void relist() override;

    // RenameListView and SingleRenameView
    const ShotLinks* shotLinks() const override;
    void forgetShownFile() override;
    void showShotsChoice(bool on) override;

    // FolderView
    void openFiles(const std::string& folder, FolderReading reading) override;
    void clearNamePanel() override;
    void clearSelections() override;
    void selectName(const std::string& name, bool inRenameList) override;

private:
    TolvaForm& m_form;
    const ProgramValues& m_values;
    FileListReader& m_files;
    PreviewArea& m_preview;
    FileSystem& m_fileSystem;
    // With shots, the folder's Live Photos, read when first needed after the folder was.
    mutable std::shared_ptr<const ShotLinks> m_links;
    mutable bool m_linksRead = false;
};

} // namespace zanto
