#pragma once

#include <QDialog>

namespace zanto {

// The help page inside the program, for a desktop that cannot open it: the
// copy of readme.html built into the program, so it is there even when the
// file beside the program is not.
class HelpBrowser final : public QDialog {
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget* parent);

    static QString pageAddress();
};

} // namespace zanto
