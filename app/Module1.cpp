#include "Module1.h"

#include "ProgramValues.h"
#include "TolvaForm.h"
#include "browse/FileListBox.h"
#include "browse/ListBox.h"
#include "browse/PreviewArea.h"
#include "NameBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>

#include <vector>

namespace zanto::Module1 {

namespace {

// Which controls each layout shows; the others keep their state.
struct LayoutRow {
    QWidget* control;
    bool continuous;
    bool simple;
};

std::vector<LayoutRow> layoutTable(const TolvaForm& f)
{
    return {
        {f.File, false, true},     {f.Label1, false, true},   {f.Label2, false, true},
        {f.Label3, false, true},   {f.Label4, false, true},   {f.Text, false, true},
        {f.List, true, false},     {f.cmdOK, true, false},    {f.cmdCLEAR, true, false},
        {f.cmdUE, true, false},    {f.cmdSITA, true, false},  {f.cmdERASE, true, false},
        {f.cmd, false, true},      {f.txtRENAME, true, false}, {f.Label9, true, false},
        {f.Frame1, true, false},
    };
}

void layOut(TolvaForm& form, ProgramValues& values, const Mode& mode)
{
    const bool continuous = mode.isContinuous();
    for (const LayoutRow& row : layoutTable(form))
        row.control->setVisible(continuous ? row.continuous : row.simple);
    values.NOW_MODE = mode;
    form.window->setWindowTitle(modeCaption(values, false));
    // Tab positions from 2 on, after the drive and folder lists.
    const std::vector<QWidget*> tabs = continuous
        ? std::vector<QWidget*>{form.List, form.cmdUE, form.cmdSITA, form.cmdERASE, form.txtRENAME, form.cmdOK,
                                form.cmdCLEAR}
        : std::vector<QWidget*>{form.File, form.Label1, form.Label2, form.Text};
    for (std::size_t i = 0; i < tabs.size(); ++i)
        form.setTabPosition(tabs[i], static_cast<int>(i) + 2);
    form.setDefaultButton(continuous ? form.cmdOK : form.cmd);
}

} // namespace

void RENZOKU(TolvaForm& form, ProgramValues& values)
{
    layOut(form, values, Mode::continuous());
}

void TANJUN(TolvaForm& form, ProgramValues& values)
{
    layOut(form, values, Mode::simple());
}

void HIDEMSG(PreviewArea& preview)
{
    preview.hideMessages();
}

QString modeCaption(const ProgramValues& values, bool minimized)
{
    if (minimized)
        return QStringLiteral("ZANTO");
    return values.NOW_MODE.isContinuous() ? QStringLiteral("ZANTO＿[連続モード]")
                                                        : QStringLiteral("ZANTO＿[単純モード]");
}

} // namespace zanto::Module1
