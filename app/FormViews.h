#pragma once

#include "BatchView.h"
#include "SingleRenameView.h"
#include "UndoView.h"

namespace zanto {

struct ProgramValues;
struct TolvaForm;

// The commands' views of the main window, carried out on its controls.
class FormViews final : public BatchView, public SingleRenameView, public UndoView {
public:
    FormViews(TolvaForm& form, const ProgramValues& values) : m_form(form), m_values(values) {}

    // The folder shown, for every view.
    std::string folder() const override;

    // BatchView
    std::vector<std::string> entries() const override;
    void removeEntry(const std::string& entry) override;
    QString baseName() const override;
    void clearBaseName() override;
    void setCaption(const QString& caption) override;
    void showListing() override;
    void clearPicture() override;
    BatchOptions batchOptions() const override;

    // SingleRenameView
    int fileCount() const override;
    int selectedFile() const override;
    std::string fileAt(int row) const override;
    void rereadFiles() override;
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

private:
    TolvaForm& m_form;
    const ProgramValues& m_values;
};

} // namespace zanto
