#include "Module1.h"

#include "ProgramValues.h"
#include "SettingsKeys.h"
#include "TolvaForm.h"
#include "browse/FileListBox.h"
#include "browse/ListBox.h"
#include "NameBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>

namespace zanto::Module1 {

namespace {

void setVisible(std::initializer_list<QWidget*> controls, bool visible)
{
    for (QWidget* control : controls)
        control->setVisible(visible);
}

} // namespace

void RENZOKU(TolvaForm& form, ProgramValues& values)
{
    setVisible({form.File, form.Label1, form.Label2, form.Label3, form.Label4, form.Text}, false);
    setVisible({form.List, form.cmdOK, form.cmdCLEAR, form.cmdUE, form.cmdSITA, form.cmdERASE}, true);
    form.cmd->hide();
    form.txtRENAME->show();
    values.NOW_MODE = settings::kModeContinuous;
    form.window->setWindowTitle(modeCaption(values, false));
    setVisible({form.Label9, form.Frame1}, true);
    form.setTabPosition(form.List, 2);
    form.setTabPosition(form.cmdUE, 3);
    form.setTabPosition(form.cmdSITA, 4);
    form.setTabPosition(form.cmdERASE, 5);
    form.setTabPosition(form.txtRENAME, 6);
    form.setTabPosition(form.cmdOK, 7);
    form.setTabPosition(form.cmdCLEAR, 8);
    form.setDefaultButton(form.cmdOK);
}

void TANJUN(TolvaForm& form, ProgramValues& values)
{
    setVisible({form.File, form.Label1, form.Label2, form.Label3, form.Label4, form.Text}, true);
    setVisible({form.List, form.cmdOK, form.cmdCLEAR, form.cmdUE, form.cmdSITA, form.cmdERASE}, false);
    form.cmd->show();
    form.txtRENAME->hide();
    values.NOW_MODE = settings::kModeSimple;
    form.window->setWindowTitle(modeCaption(values, false));
    setVisible({form.Label9, form.Frame1}, false);
    form.setTabPosition(form.File, 2);
    form.setTabPosition(form.Label1, 3);
    form.setTabPosition(form.Label2, 4);
    form.setTabPosition(form.Text, 5);
    form.setDefaultButton(form.cmd);
}

QString modeCaption(const ProgramValues& values, bool minimized)
{
    if (minimized)
        return QStringLiteral("ZANTO");
    return values.NOW_MODE == settings::kModeContinuous ? QStringLiteral("ZANTO＿[連続モード]")
                                                        : QStringLiteral("ZANTO＿[単純モード]");
}

} // namespace zanto::Module1
