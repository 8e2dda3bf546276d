#pragma once

#include <QString>

namespace zanto {

// What the settings dialog does to the main window.
class SettingsHost {
public:
    virtual ~SettingsHost() = default;

    // The mode layouts; each sets NOW_MODE.
    virtual void RENZOKU() = 0;
    virtual void TANJUN() = 0;

    // The filter changed on メインへ: give the file list the new pattern, reset
    // the preview and the simple-mode panel, re-read the folder with no file
    // selected and rebuild the rename list from it.
    virtual void applyFilterChange(const QString& pattern) = 0;

    // The mode changed when the dialog closed: re-read the folder; in
    // continuous mode rebuild the rename list, in simple mode lock and empty
    // the new-name panel with no file selected.
    virtual void applyModeChange() = 0;

    // The pattern the file list shows.
    virtual void setFilePattern(const QString& pattern) = 0;
};

} // namespace zanto
